#include "ui/helpbrowser.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kBlockRole = Qt::UserRole; // the heading's block number

} // namespace

HelpBrowser::HelpBrowser(const QString& file, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Tavrel Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    page = new QTextBrowser(this);
    page->setOpenExternalLinks(true); // web links leave; the page's own anchors stay
    contents = new QTreeWidget(this);
    contents->setHeaderLabel(tr("Contents"));
    searchEdit = new QLineEdit(this);
    searchEdit->setPlaceholderText(tr("Search the help (Enter for the next match)"));
    searchEdit->setClearButtonEnabled(true);
    searchNote = new QLabel(this);
    searchNote->setMinimumWidth(searchNote->fontMetrics().horizontalAdvance(tr("From the top")) + 8);

    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(tr("Find:"), this));
    search->addWidget(searchEdit, 1);
    search->addWidget(searchNote);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(contents);
    splitter->addWidget(page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 640});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(splitter, 1);
    resize(900, 640);

    if (!file.isEmpty() && QFileInfo(file).isReadable())
        page->setSource(QUrl::fromLocalFile(file));
    else
        page->setPlainText(tr("The documentation of Tavrel is not installed."));
    FillContents();
    connect(searchEdit, &QLineEdit::returnPressed, this, &HelpBrowser::FindNext);
    connect(searchEdit, &QLineEdit::textChanged, searchNote, &QLabel::clear);
    connect(contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowHeading(item->data(0, kBlockRole).toInt()); });
    connect(contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowHeading(item->data(0, kBlockRole).toInt()); });
}

// h2 entries at the top level, h3 under the h2 before them; the page's
// title (h1) and its own contents list are left out.
void HelpBrowser::FillContents() {
    contents->clear();
    QTreeWidgetItem* section = nullptr;
    for (QTextBlock block = page->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level != 2 && level != 3) continue;
        const QString title = block.text().trimmed();
        if (title.isEmpty()) continue;
        QTreeWidgetItem* item = level == 2 || section == nullptr
                                    ? (section = new QTreeWidgetItem(contents))
                                    : new QTreeWidgetItem(section);
        item->setText(0, title);
        item->setData(0, kBlockRole, block.blockNumber());
    }
}

void HelpBrowser::ShowHeading(int blockNumber) {
    const QTextBlock block = page->document()->findBlockByNumber(blockNumber);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    page->setTextCursor(cursor);
    // Scroll so that the heading stands at the top, not merely in view.
    page->verticalScrollBar()->setValue(page->verticalScrollBar()->maximum());
    page->ensureCursorVisible();
}

bool HelpBrowser::FindNext() {
    const QString text = searchEdit->text();
    if (text.isEmpty()) return false;
    if (page->find(text)) {
        searchNote->clear();
        return true;
    }
    page->moveCursor(QTextCursor::Start);
    const bool found = page->find(text);
    searchNote->setText(found ? tr("From the top") : tr("Not found"));
    return found;
}
