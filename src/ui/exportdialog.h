// The file dialog of the exports.  Qt's own dialog, never the platform's:
// the platform dialogs and Qt's default icon provider read a file's first
// bytes to learn its type, and a special file (/proc/kmsg, a FIFO) read on
// the GUI thread blocks the window for good.  Here types and icons come from
// names only, and links are shown as links.
#pragma once

#include <QFileDialog>

class QAbstractFileIconProvider;

class ExportFileDialog : public QFileDialog {
    Q_OBJECT

  public:
    ExportFileDialog(QWidget* parent, const QString& caption, const QString& suggested,
                     const QString& filter);

    // Asks for a file to write; empty when cancelled.
    static QString Ask(QWidget* parent, const QString& caption, const QString& suggested,
                       const QString& filter);
};

// The icon provider of the dialog: it never opens a file (the icon from
// whether it is a folder, the type from the name's extension).  One for the
// whole run, so that no dialog's file model outlives it.
QAbstractFileIconProvider& NameOnlyIconProvider();
