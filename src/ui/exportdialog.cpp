#include "ui/exportdialog.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStyle>

namespace {

class NameOnlyIcons : public QAbstractFileIconProvider {
  public:
    // Made on the GUI thread; the file model also asks from its own thread.
    NameOnlyIcons()
        : folder_(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
          file_(QApplication::style()->standardIcon(QStyle::SP_FileIcon)) {}

    QIcon icon(IconType type) const override { return type == Folder ? folder_ : file_; }
    QIcon icon(const QFileInfo& info) const override {
        return info.isDir() ? folder_ : file_; // a stat, which no special file blocks
    }
    QString type(const QFileInfo& info) const override {
        if (info.isDir()) return QStringLiteral("Folder");
        return QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension)
            .comment();
    }

  private:
    QIcon folder_, file_;
};

} // namespace

QAbstractFileIconProvider& NameOnlyIconProvider() {
    static auto* icons = new NameOnlyIcons; // never destroyed: dialogs may close at exit
    return *icons;
}

ExportFileDialog::ExportFileDialog(QWidget* parent, const QString& caption,
                                   const QString& suggested, const QString& filter)
    : QFileDialog(parent, caption, QString(), filter) {
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks);
    setIconProvider(&NameOnlyIconProvider());
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    selectFile(suggested);
}

QString ExportFileDialog::Ask(QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter) {
    ExportFileDialog dialog(parent, caption, suggested, filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}
