// The help page inside the program: the installed HTML page in a text
// browser, its headings as a table of contents beside it and a search field
// above, so that help works where no web browser is installed.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;

class HelpBrowser : public QDialog {
    Q_OBJECT

  public:
    // `file` is the help page (HTML); an empty or unreadable one shows a
    // note instead of the page.
    explicit HelpBrowser(const QString& file, QWidget* parent = nullptr);

    // Selects the next match of the search field's text after the cursor,
    // from the top again after the last; false (and a note) when there is none.
    bool FindNext();
    // Shows the heading in the page's block `blockNumber` (the number a
    // contents entry keeps) at the top of the page.
    void ShowHeading(int blockNumber);

    QTextBrowser* page;
    QTreeWidget* contents;
    QLineEdit* searchEdit;
    QLabel* searchNote;

  private:
    void FillContents();
};
