#pragma once

#include <QMainWindow>
#include <QString>
#include <vector>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace quisk {

// Quisk's own help viewer: the bundled manual in a text browser, its
// headings as a table of contents, a search box that marks every match and
// narrows the contents to the sections holding one, and back and forward
// through the places visited. It needs no browser on the machine.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& helpPath, QWidget* parent = nullptr);

    // Marks every place holding text, keeps the sections that hold one in
    // the contents and moves to the first match below the current position.
    void search(const QString& text);
    // Moves to the next match of the search text, wrapping at the end.
    void findNext();

private:
    // A heading of the manual: the item in the contents and where its
    // section starts in the document.
    struct Section {
        QTreeWidgetItem* item;
        int position;
        QString anchor;
    };

    void buildToolBar();
    void buildContents();
    void showSection(QTreeWidgetItem* item);
    void filterContents(const std::vector<int>& hits);

    QTextBrowser* browser_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QLabel* hits_ = nullptr;
    std::vector<Section> sections_;
};

} // namespace quisk
