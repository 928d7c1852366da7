// The tools of the window that live beside its fixed layout: each is an entry
// of the window's context menu and a keyboard shortcut, so that no control of
// the designed layout moves.
#include <QAction>
#include <QKeySequence>
#include <QTabBar>

#include "ui/coatingdialog.h"
#include "ui/fieldcheckrun.h"
#include "ui/sweeptool.h"
#include "ui/materialoptionsdialog.h"
#include "ui/tform1.h"

QAction* TForm1::AddTool(const QString& text, const QKeySequence& shortcut,
                         std::function<void()> run) {
    auto* action = new QAction(text, this);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] { Guarded(run); });
    addAction(action);
    tools_.append(action);
    return action;
}

void TForm1::InstallTools() {
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // One line per tool, in menu order.
    AddTool(tr("Sweep..."), QKeySequence(Qt::Key_F5), [this] { OpenSweepWindow(*this); });
    AddTool(tr("Coupled synthesis..."), QKeySequence(Qt::Key_F6), [this] { OpenPairSynthesis(); });
    AddTool(tr("Check with field solver..."), QKeySequence(Qt::Key_F7), [this] {
        if (LineModel* model = ModelOfTab(CurrentTab()))
            RunFieldCheck(this, model->Line(), model->ReadInputs(),
                          [this] { Guarded([this] { SynthesizeWithFieldSolver(); }); });
    });
    AddTool(tr("Materials and conductor options..."), QKeySequence(Qt::Key_F8),
            [this] { EditMaterialOptions(*this); });
    // The microstrip lines' own tool; on another tab it says so.
    AddTool(tr("Solder mask and cover..."), QKeySequence(Qt::Key_F9),
            [this] { EditCoating(*this); });
    // The coating line names the mask and cover of the line shown.
    connect(TabControl1, &QTabBar::currentChanged, this, [this] { ShowMaterialModels(); });
    AddTool(tr("Copy results"), QKeySequence(QKeySequence::Copy), [this] { CopyResults(); });
}
