#pragma once

#include <QString>
#include <QStringView>
#include <array>

#include "collection/Collection.h"

namespace ludora {

// The caption keys of the 25 tabs, and where a name line of a collection file goes.
class CaptionKeys {
public:
    // Characters in a key; a key outside the basic plane holds more UTF-16 units.
    static constexpr int kLength = 9;

    CaptionKeys() = default;
    explicit CaptionKeys(const Collection& collection) {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            set(tab, collection.caption(tab));
        }
    }

    void set(int tab, QStringView caption) { keys_[size_t(tab)] = Collection::captionKey(caption); }
    const QString& key(int tab) const { return keys_[size_t(tab)]; }

    // Calls add(tab, name) for each list a name line adds to: the first tab, in tab order,
    // whose key begins the line receives the rest of the line; that rest is then tried on
    // the later tabs in turn. Returns how many lists the line added to (0: it is skipped).
    template <typename Add>
    int route(QStringView line, Add&& add) const {
        int added = 0;
        int from = 0;
        while (line.size() >= kLength && from < Collection::kTabCount) {
            int tab = from;
            while (tab < Collection::kTabCount && !begins(line, keys_[size_t(tab)])) {
                ++tab;
            }
            if (tab == Collection::kTabCount) {
                break;
            }
            line = line.mid(keys_[size_t(tab)].size());
            add(tab, line);
            ++added;
            from = tab + 1;
        }
        return added;
    }

private:
    // Exact comparison of the characters, inline: it runs up to 25 times for every line of
    // a file.
    static bool begins(QStringView line, const QString& key) {
        const qsizetype length = key.size();
        if (line.size() < length) {
            return false;
        }
        const char16_t* a = line.utf16();
        const auto* b = reinterpret_cast<const char16_t*>(key.constData());
        // Keys tend to differ at their ends ("UserDef3 ", "UserDef24"): look there first.
        if (a[length - 1] != b[length - 1]) {
            return false;
        }
        for (qsizetype i = 0; i < length - 1; ++i) {
            if (a[i] != b[i]) {
                return false;
            }
        }
        return true;
    }

    std::array<QString, Collection::kTabCount> keys_;
};

}  // namespace ludora
