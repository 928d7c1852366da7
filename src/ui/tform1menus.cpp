// The window's menu bar, above the designed layout: the layout moves down as
// one piece (its controls keep their places within it) and the window grows
// by the menu's height only.  The Tools menu holds the same actions as the
// context menu, so each shortcut exists once.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "ui/helpbrowser.h"
#include "ui/sweeptool.h"
#include "ui/tform1.h"

void TForm1::InstallMenuBar() {
    // Everything built so far is the designed layout: it moves into one
    // body below the menu, unchanged.
    const QList<QWidget*> layout = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("MenuBar"));

    QMenu* file = menuBar_->addMenu(tr("&File"));
    file->addAction(tr("&Export sweep..."), this, [this] { Guarded([this] { ExportSweep(); }); });
    file->addSeparator();
    QAction* quit = file->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* tools = menuBar_->addMenu(tr("&Tools"));
    for (QAction* tool : tools_)
        if (tool->shortcut() != QKeySequence(QKeySequence::Copy)) tools->addAction(tool);

    QMenu* help = menuBar_->addMenu(tr("&Help"));
    QAction* contents = help->addAction(tr("&Contents"), this, [this] { OpenHelp(); });
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    contents->setShortcutContext(Qt::WindowShortcut);
    addAction(contents); // F1 also while no menu has been opened
    help->addAction(tr("&About Tavrel"), this, [this] {
        QMessageBox::about(this, tr("About Tavrel"),
                           tr("<b>Tavrel</b> %1<br>A calculator for the transmission lines of "
                              "microwave circuit design.<br>Licence: MIT.")
                               .arg(QStringLiteral(TAVREL_VERSION)));
    });

    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, kClientWidth, menuHeight);
    body_ = new QWidget(this);
    body_->setObjectName(QStringLiteral("Body"));
    body_->setGeometry(0, menuHeight, kClientWidth, kClientHeight);
    for (QWidget* child : layout)
        child->setParent(body_);
    setFixedSize(kClientWidth, kClientHeight + menuHeight);
}

int TForm1::MenuHeight() const {
    return menuBar_ != nullptr ? menuBar_->height() : 0;
}

HelpBrowser* TForm1::OpenHelp() {
    auto* browser = new HelpBrowser(DocumentationFile(), this);
    browser->show();
    return browser;
}

void TForm1::ExportSweep() {
    // The sweep window holds the exports: the one open, else a new one.
    auto* sweep = findChild<QWidget*>(QLatin1String(kSweepWindowName));
    if (sweep == nullptr) sweep = OpenSweepWindow(*this);
    if (sweep == nullptr) return;
    sweep->raise();
    sweep->activateWindow();
    QMetaObject::invokeMethod(sweep, "OfferExport"); // the sweep library's class
}
