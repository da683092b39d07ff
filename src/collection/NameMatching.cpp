#include "collection/NameMatching.h"

#include <QList>
#include <QString>
#include <array>
#include <cstring>

namespace ludora {
namespace {

// Ends the word begun at `start`, leaving it out when it is "the".
void endWord(std::string& out, size_t start) {
    if (std::string_view(out).substr(start) == "the") {
        out.resize(start == 0 ? 0 : start - 1);
    }
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Names beyond ASCII: folded and decomposed as a whole (folding may give several
// characters, "ß" gives "ss"), then read character by character.
void normalizeUnicode(QStringView name, std::string& out) {
    // Qt folds one character to one: the sharp s is folded to "ss" here, as Unicode's full
    // folding does.
    QString folded = name.toString().toCaseFolded();
    folded.replace(QChar(0xDF), QLatin1String("ss")).replace(QChar(0x1E9E), QLatin1String("ss"));
    const QString decomposed = folded.normalized(QString::NormalizationForm_D);
    out.clear();
    bool inWord = false;
    size_t start = 0;
    for (const char32_t c : decomposed.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
            category == QChar::Mark_Enclosing) {
            continue;  // an accent: part of its letter's word, and dropped
        }
        if (!QChar::isLetterOrNumber(c)) {
            if (inWord) {
                endWord(out, start);
                inWord = false;
            }
            continue;
        }
        if (!inWord) {
            if (!out.empty()) {
                out += ' ';
            }
            start = out.size();
            inWord = true;
        }
        appendUtf8(out, c);
    }
    if (inWord) {
        endWord(out, start);
    }
}

// What one character of the Latin scripts becomes, worked out once from the rules above:
// a word break, nothing (an accent of its own), or the bytes of its letters. Names of other
// scripts take the slower way of normalizeUnicode().
constexpr char16_t kTableEnd = 0x370;
struct Latin {
    enum Kind : quint8 { Break, Mark, Letters } kind = Break;
    quint8 length = 0;
    char bytes[6] = {};
};

// ASCII letters and digits folded; 0 for the rest, which break words.
constexpr std::array<char, 128> kAscii = [] {
    std::array<char, 128> t{};
    for (char c = '0'; c <= '9'; ++c) {
        t[size_t(c)] = c;
    }
    for (char c = 'a'; c <= 'z'; ++c) {
        t[size_t(c)] = c;
        t[size_t(c - 'a' + 'A')] = c;
    }
    return t;
}();

const std::array<Latin, kTableEnd>& latinTable() {
    static const std::array<Latin, kTableEnd> table = [] {
        std::array<Latin, kTableEnd> t{};
        std::string letters;
        for (char16_t c = 0; c < kTableEnd; ++c) {
            normalizeUnicode(QStringView(&c, 1), letters);
            const QChar::Category category = QChar::category(char32_t(c));
            if (category >= QChar::Mark_NonSpacing && category <= QChar::Mark_Enclosing) {
                t[c].kind = Latin::Mark;
            } else if (!letters.empty() && letters.size() <= sizeof(Latin::bytes)) {
                t[c].kind = Latin::Letters;
                t[c].length = quint8(letters.size());
                letters.copy(t[c].bytes, letters.size());
            }
        }
        return t;
    }();
    return table;
}

}  // namespace

std::string_view normalizeName(QStringView name, std::string& buffer) {
    const std::array<Latin, kTableEnd>& latin = latinTable();
    // Written through a pointer into room for the longest outcome: a blank and a table
    // entry per character. The buffer only grows: its bytes are not cleared each time.
    const size_t room = size_t(name.size()) * (1 + sizeof(Latin::bytes));
    if (buffer.size() < room) {
        buffer.resize(room);
    }
    char* const begin = buffer.data();
    char* end = begin;
    char* word = nullptr;  // where the word being written begins, or null
    const auto endWord = [&] {
        if (word && end - word == 3 && std::memcmp(word, "the", 3) == 0) {
            end = word == begin ? begin : word - 1;  // "the" is left out, with its blank
        }
        word = nullptr;
    };
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c < 0x80) {  // the usual case, in short
            const char folded = kAscii[c];
            if (folded == 0) {
                endWord();
                continue;
            }
            if (!word) {
                if (end != begin) {
                    *end++ = ' ';
                }
                word = end;
            }
            *end++ = folded;
            continue;
        }
        if (c >= kTableEnd) {
            std::string other;
            normalizeUnicode(name, other);
            if (buffer.size() < other.size()) {
                buffer.resize(other.size());
            }
            other.copy(buffer.data(), other.size());
            return std::string_view(buffer.data(), other.size());
        }
        const Latin& l = latin[c];
        if (l.kind == Latin::Mark) {
            continue;
        }
        if (l.kind == Latin::Break) {
            endWord();
            continue;
        }
        if (!word) {
            if (end != begin) {
                *end++ = ' ';
            }
            word = end;
        }
        *end++ = l.bytes[0];
        for (int i = 1; i < l.length; ++i) {
            *end++ = l.bytes[i];
        }
    }
    endWord();
    return std::string_view(begin, size_t(end - begin));
}

std::string normalizedName(QStringView name) {
    std::string buffer;
    return std::string(normalizeName(name, buffer));
}

NameQuery::NameQuery(QStringView text) {
    forEachWord(normalizedName(text), [this](std::string_view word) { words_.emplace_back(word); });
}

bool NameQuery::matches(std::string_view normalized) const {
    for (const std::string& word : words_) {
        bool found = false;
        forEachWord(normalized, [&](std::string_view nameWord) {
            found = found || nameWord.substr(0, word.size()) == word;
        });
        if (!found) {
            return false;
        }
    }
    return true;
}

}  // namespace ludora
