#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QWidget>
#include <map>
#include <ostream>

// Readable captions in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quisk::test {

// The access key a caption marks with "&" ("&&" is a plain ampersand), in
// capitals; empty when it marks none.
inline QString accessKey(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

// Each menu's items as "letter caption" lines, and one group for what Alt
// reaches in the window itself: the menu bar's titles and the buttons,
// check boxes and labels. Shared by the tests that list the keys.
inline std::map<QString, QStringList> accessKeyGroups(QWidget& window) {
    std::map<QString, QStringList> groups;
    auto add = [&groups](const QString& group, const QString& caption) {
        const QString key = accessKey(caption);
        if (!key.isEmpty())
            groups[group] << key + " " + caption;
    };
    // A menu bar's untitled overflow menu only repeats the bar's titles.
    for (QMenu* menu : window.findChildren<QMenu*>())
        if (!menu->title().isEmpty())
            for (QAction* a : menu->actions())
                add(menu->title(), a->text());
    for (QMenuBar* bar : window.findChildren<QMenuBar*>())
        for (QAction* a : bar->actions())
            add(QStringLiteral("window"), a->text());
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
        add(QStringLiteral("window"), b->text());
    for (QLabel* l : window.findChildren<QLabel*>())
        add(QStringLiteral("window"), l->text());
    return groups;
}

// The groups in which two captions share a key.
inline QStringList accessKeyClashes(const std::map<QString, QStringList>& groups) {
    QStringList clashes;
    for (const auto& [group, items] : groups) {
        std::map<QString, QStringList> byKey;
        for (const QString& item : items)
            byKey[item.left(1)] << item.mid(2);
        for (const auto& [key, captions] : byKey)
            if (captions.size() > 1)
                clashes << group + ": " + key + " " + captions.join(QLatin1Char('/'));
    }
    return clashes;
}

} // namespace quisk::test
