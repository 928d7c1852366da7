// The one function through which the window shows every modal box.  Tests
// install a recorder instead of letting a box block the event loop.
#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class BoxKind { Error, Information };

struct ShownBox {
    BoxKind kind;
    QString title;
    QString text;  // as the caller gave it
    QString shown; // as the box displays it
};

// Replaces the modal box by `recorder` while it is set; pass an empty function
// to show real boxes again.
void SetMessageBoxRecorder(std::function<void(const ShownBox&)> recorder);

// Modal box with one OK button; returns when it has been closed.
void ShowMessageBox(QWidget* parent, BoxKind kind, const QString& title, const QString& text);

// The text as a box shows it: carriage returns (the models' "\r\r" and
// "\r\n") become line breaks, and a text of absurd length (a pasted page
// quoted in a validation message) is shortened so the box still fits on the
// screen.
QString DisplayText(const QString& text);
