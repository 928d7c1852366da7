#include "ui/messagebox.h"

#include <QMessageBox>
#include <QRegularExpression>

namespace {

std::function<void(const ShownBox&)>& Recorder() {
    static std::function<void(const ShownBox&)> recorder;
    return recorder;
}

constexpr int kLongestWord = 80;
constexpr int kLongestText = 1000;

} // namespace

void SetMessageBoxRecorder(std::function<void(const ShownBox&)> recorder) {
    Recorder() = std::move(recorder);
}

QString DisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A box wraps at blanks only; a longer unbroken run would make it wider
    // than any screen.
    static const QRegularExpression longWord(QStringLiteral("\\S{%1,}").arg(kLongestWord + 1));
    QRegularExpressionMatch match;
    qsizetype from = 0;
    while ((match = longWord.match(shown, from)).hasMatch()) {
        shown.replace(match.capturedStart(), match.capturedLength(),
                      match.captured().left(kLongestWord) + QChar(0x2026));
        from = match.capturedStart() + kLongestWord + 1;
    }
    if (shown.size() > kLongestText) shown = shown.left(kLongestText) + QChar(0x2026);
    return shown;
}

void ShowMessageBox(QWidget* parent, BoxKind kind, const QString& title, const QString& text) {
    const ShownBox box{kind, title, text, DisplayText(text)};
    if (Recorder()) {
        Recorder()(box);
        return;
    }
    QMessageBox message(kind == BoxKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                        title, box.shown, QMessageBox::Ok, parent);
    message.setTextFormat(Qt::PlainText);
    message.exec();
}
