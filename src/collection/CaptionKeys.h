#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <bit>
#include <cstring>

#include "collection/Collection.h"

namespace ludora {

// The caption keys of the 25 tabs, and where each line of a collection file goes.
class CaptionKeys {
public:
    // Characters in a key; a key outside the basic plane holds more UTF-16 units.
    static constexpr int kLength = 9;

    // The caption's first nine characters, blank-filled to nine. A character outside the
    // basic plane (a surrogate pair) counts as one.
    static QString keyOf(QStringView caption);
    // The caption that a tab's caption line gives it: the first three tabs always keep their
    // fixed captions, whatever their lines hold.
    static QString captionFromLine(int tab, const QString& line);

    CaptionKeys() = default;
    explicit CaptionKeys(const Collection& collection) {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            set(tab, collection.caption(tab));
        }
    }

    void set(int tab, QStringView caption) {
        keys_[size_t(tab)] = keyOf(caption);
        startingWith_.fill(0);
        for (int t = 0; t < Collection::kTabCount; ++t) {
            if (!keys_[size_t(t)].isEmpty()) {
                startingWith_[bucket(keys_[size_t(t)].front().unicode())] |= 1u << t;
            }
        }
    }
    const QString& key(int tab) const { return keys_[size_t(tab)]; }

    // Calls add(tab, name) for each list a name line adds to: the first tab, in tab order,
    // whose key begins the line receives the rest of the line; that rest is then tried on
    // the later tabs in turn. Returns how many lists the line added to (0: it is skipped).
    template <typename Add>
    int route(QStringView line, Add&& add) const {
        int added = 0;
        int from = 0;
        while (line.size() >= kLength && from < Collection::kTabCount) {
            // Only the tabs whose key could begin the line are compared, in tab order.
            quint32 candidates = startingWith_[bucket(line.front().unicode())] & (~0u << from);
            while (candidates != 0 && !begins(line, keys_[size_t(std::countr_zero(candidates))])) {
                candidates &= candidates - 1;
            }
            if (candidates == 0) {
                break;
            }
            const int tab = std::countr_zero(candidates);
            line = line.mid(keys_[size_t(tab)].size());
            add(tab, line);
            ++added;
            from = tab + 1;
        }
        return added;
    }

private:
    // Exact comparison of the characters, inline: it runs for every line of a file.
    static bool begins(QStringView line, const QString& key) {
        const qsizetype length = key.size();
        if (line.size() < length) {
            return false;
        }
        const char16_t* a = line.utf16();
        const auto* b = reinterpret_cast<const char16_t*>(key.constData());
        // Keys tend to differ at their ends ("UserDef3 ", "UserDef24"): look there first,
        // then at the rest four characters at a time.
        if (a[length - 1] != b[length - 1]) {
            return false;
        }
        qsizetype i = 0;
        for (; i + 4 < length; i += 4) {
            quint64 x;
            quint64 y;
            std::memcpy(&x, a + i, sizeof x);
            std::memcpy(&y, b + i, sizeof y);
            if (x != y) {
                return false;
            }
        }
        for (; i < length - 1; ++i) {
            if (a[i] != b[i]) {
                return false;
            }
        }
        return true;
    }

    static size_t bucket(char16_t first) { return first & 0xFF; }
    static_assert(Collection::kTabCount <= 32, "one bit per tab");

    std::array<QString, Collection::kTabCount> keys_;
    // Per low byte of a first character: the tabs whose key starts with such a character.
    std::array<quint32, 256> startingWith_{};
};

}  // namespace ludora
