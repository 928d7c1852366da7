// Helpers of the window's Qt tests: a TForm1 on its own settings file, every
// box recorded instead of shown, and the user's gestures.
#pragma once

#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QTabBar>
#include <QToolButton>
#include <algorithm>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "tempfolder.h"
#include "ui/messagebox.h"
#include "ui/tform1.h"

// Every box shown while it lives, oldest first.
class BoxRecorder {
  public:
    BoxRecorder() {
        SetMessageBoxRecorder([this](const ShownBox& box) {
            boxes.push_back(box);
            if (onBox) onBox(box);
        });
    }
    ~BoxRecorder() { SetMessageBoxRecorder({}); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    QStringList Texts() const {
        QStringList texts;
        for (const ShownBox& box : boxes)
            texts << box.text;
        return texts;
    }
    std::vector<ShownBox> boxes;
    std::function<void(const ShownBox&)> onBox;
};

// A window on a settings file of its own (with `ini` as its content when
// given), shown and active so that the focus behaves as for a user.
class TestWindow {
  public:
    explicit TestWindow(const std::string& ini = std::string(), bool show = true) {
        if (!ini.empty()) TempFolder::Write(iniPath, ini);
        form = std::make_unique<TForm1>(TForm1::Options{QString::fromStdString(iniPath)});
        if (show) {
            form->show();
            form->activateWindow();
            active = QTest::qWaitForWindowActive(form.get());
        }
    }
    TForm1* operator->() const { return form.get(); }
    TForm1& operator*() const { return *form; }
    std::string Ini() const { return TempFolder::Read(iniPath); }

    bool active = false;
    TempFolder folder;
    std::string iniPath = folder.File("tavrel.ini");
    BoxRecorder recorder;
    std::unique_ptr<TForm1> form;
};

// The user picks entry `index` of a list (code that selects does not run the
// list's handler; a pick does).
inline void Pick(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// Clicks a tab, first scrolling it into view with the strip's arrow buttons
// as a user would when the tabs are wider than the strip.
inline void ClickTab(TForm1& form, int index) {
    QTabBar* bar = form.TabControl1;
    for (int scrolls = 0; scrolls < 2 * bar->count(); ++scrolls) {
        int visibleRight = bar->width();
        for (const QToolButton* button : bar->findChildren<QToolButton*>())
            if (!button->isHidden()) visibleRight = std::min(visibleRight, button->x());
        const QRect tab = bar->tabRect(index);
        if (tab.left() >= 0 && tab.right() < visibleRight) break;
        const Qt::ArrowType towards = tab.left() < 0 ? Qt::LeftArrow : Qt::RightArrow;
        for (QToolButton* button : bar->findChildren<QToolButton*>())
            if (!button->isHidden() && button->arrowType() == towards)
                QTest::mouseClick(button, Qt::LeftButton);
        if (bar->tabRect(index) == tab) return; // the click was stopped (an edit's check)
    }
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// Types text into an edit that has the focus, replacing what it held.
inline void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Leaves the edit that has the focus with the Tab key.
inline void TabAway() {
    if (QWidget* focus = QApplication::focusWidget()) QTest::keyClick(focus, Qt::Key_Tab);
}

// Each test class registers itself; the test program runs them all.
using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<GuiTestFactory>& GuiTests();

template <class Test> struct RegisterGuiTest {
    RegisterGuiTest() {
        GuiTests().push_back([] { return std::make_unique<Test>(); });
    }
};

// Where a test saves the screenshots it takes: $TAVREL_SCREENSHOTS, or
// "screenshots" in the build folder.
inline QString ScreenshotFolder() {
    QString folder = qEnvironmentVariable("TAVREL_SCREENSHOTS");
    if (folder.isEmpty()) folder = QDir::currentPath() + QStringLiteral("/screenshots");
    QDir().mkpath(folder);
    return folder;
}
