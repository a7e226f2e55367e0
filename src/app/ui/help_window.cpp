#include "app/ui/help_window.h"

#include "app/app_texts.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <climits>

namespace quisk {
namespace {

namespace t = app_texts;

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// The first anchor name in a block, which a heading carries so that the
// contents can link to it; empty when it has none.
QString anchorOf(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        QStringList names = it.fragment().charFormat().anchorNames();
        if (!names.isEmpty())
            return names.first();
    }
    return {};
}

} // namespace

HelpWindow::HelpWindow(const QString& helpPath, QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(qs(t::kHelpTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(960, 720);

    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    contents_ = new QTreeWidget;
    contents_->setObjectName(QStringLiteral("helpContents"));
    contents_->setHeaderLabel(qs(t::kHelpContents));

    auto* splitter = new QSplitter;
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 720});
    setCentralWidget(splitter);
    buildToolBar();

    // The file is HTML whatever its ending says.
    browser_->setSource(QUrl::fromLocalFile(helpPath), QTextDocument::HtmlResource);
    buildContents();
    connect(contents_, &QTreeWidget::itemActivated, this, &HelpWindow::showSection);
    connect(contents_, &QTreeWidget::itemClicked, this, &HelpWindow::showSection);
}

void HelpWindow::buildToolBar() {
    QToolBar* bar = addToolBar(qs(t::kHelpTitle));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto add = [&](const char* name, const char* caption, QStyle::StandardPixmap icon,
                   QKeySequence key) {
        QAction* a = bar->addAction(style()->standardIcon(icon), qs(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        return a;
    };
    QAction* back = add("helpBack", t::kHelpBack, QStyle::SP_ArrowBack, QKeySequence::Back);
    QAction* forward =
        add("helpForward", t::kHelpForward, QStyle::SP_ArrowForward, QKeySequence::Forward);
    QAction* home = add("helpHome", t::kHelpHome, QStyle::SP_ArrowUp, QKeySequence());
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home, &QAction::triggered, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    bar->addSeparator();
    searchBox_ = new QLineEdit;
    searchBox_->setObjectName(QStringLiteral("helpSearch"));
    searchBox_->setPlaceholderText(qs(t::kHelpSearch));
    searchBox_->setClearButtonEnabled(true);
    searchBox_->setMaximumWidth(260);
    bar->addWidget(searchBox_);
    hits_ = new QLabel;
    hits_->setObjectName(QStringLiteral("helpHits"));
    hits_->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(hits_);
    connect(searchBox_, &QLineEdit::textChanged, this, &HelpWindow::search);
    connect(searchBox_, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
    QAction* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    addAction(find);
    connect(find, &QAction::triggered, searchBox_, [this] {
        searchBox_->setFocus();
        searchBox_->selectAll();
    });
}

// Headings of levels 1 to 3 become the contents, each level nested in the
// one above it.
void HelpWindow::buildContents() {
    std::vector<QTreeWidgetItem*> parents;
    for (QTextBlock b = browser_->document()->begin(); b.isValid(); b = b.next()) {
        int level = b.blockFormat().headingLevel();
        if (level < 1 || level > 3 || b.text().trimmed().isEmpty())
            continue;
        parents.resize(std::min<std::size_t>(parents.size(), static_cast<std::size_t>(level - 1)));
        QTreeWidgetItem* item =
            parents.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
        item->setText(0, b.text().trimmed());
        while (parents.size() < static_cast<std::size_t>(level))
            parents.push_back(item);
        sections_.push_back({item, b.position(), anchorOf(b)});
    }
    contents_->expandAll();
}

// A heading with an anchor is visited as a link, so back returns from it;
// one without is scrolled to.
void HelpWindow::showSection(QTreeWidgetItem* item) {
    auto it = std::find_if(sections_.begin(), sections_.end(),
                           [item](const Section& s) { return s.item == item; });
    if (it == sections_.end())
        return;
    if (!it->anchor.isEmpty()) {
        QUrl target = browser_->source();
        target.setFragment(it->anchor);
        browser_->setSource(target, QTextDocument::HtmlResource);
        return;
    }
    QTextCursor cursor(browser_->document());
    cursor.setPosition(it->position);
    browser_->setTextCursor(cursor);
    browser_->ensureCursorVisible();
}

void HelpWindow::search(const QString& text) {
    QList<QTextEdit::ExtraSelection> marks;
    std::vector<int> hits;
    QTextCharFormat marked;
    marked.setBackground(QColor(255, 230, 120));
    QTextDocument* document = browser_->document();
    if (!text.isEmpty()) {
        for (QTextCursor c = document->find(text); !c.isNull(); c = document->find(text, c)) {
            marks.append({c, marked});
            hits.push_back(c.selectionStart());
        }
    }
    browser_->setExtraSelections(marks);
    filterContents(hits);
    if (text.isEmpty())
        hits_->clear();
    else
        hits_->setText(hits.empty() ? qs(t::kHelpNoHits)
                                    : qs(t::kHelpHits).arg(static_cast<int>(hits.size())));
    if (hits.empty())
        return;
    // Typing on extends the match in place rather than skipping past it.
    QTextCursor here = browser_->textCursor();
    here.setPosition(here.selectionStart());
    browser_->setTextCursor(here);
    findNext();
}

void HelpWindow::findNext() {
    QString text = searchBox_->text();
    if (text.isEmpty() || browser_->find(text))
        return;
    browser_->moveCursor(QTextCursor::Start);
    browser_->find(text);
}

// Keeps in the contents the sections holding a match, and the headings
// above them; with no search every section shows.
void HelpWindow::filterContents(const std::vector<int>& hits) {
    bool all = searchBox_->text().isEmpty();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        sections_[i].item->setHidden(!all);
    for (std::size_t i = 0; i < sections_.size() && !all; ++i) {
        int end = i + 1 < sections_.size() ? sections_[i + 1].position : INT_MAX;
        bool holds = std::any_of(hits.begin(), hits.end(),
                                 [&](int at) { return at >= sections_[i].position && at < end; });
        for (QTreeWidgetItem* item = sections_[i].item; holds && item; item = item->parent())
            item->setHidden(false);
    }
}

} // namespace quisk
