#pragma once

#include <QStringView>
#include <string>
#include <string_view>
#include <vector>

namespace ludora {

// How games are found. A name and a query are compared in their normalised form: letter
// case folded, accents dropped (decomposed, marks left out), every run of characters that
// are neither letters nor digits one word break, and the word "the" left out wherever it
// stands. "Legend of Zelda, The - Ocarina of Time" and "the legend of zelda: ocarina of
// time" share the form "legend of zelda ocarina of time".

// The normalised form: its words, UTF-8, one blank between them, none around. The first
// writes it into a buffer, which grows as needed, and returns it.
std::string_view normalizeName(QStringView name, std::string& buffer);
std::string normalizedName(QStringView name);

// What is typed into a find box: a name matches when every word of the query begins a word
// of the name, in any order ("zelda oca" finds the name above).
class NameQuery {
public:
    explicit NameQuery(QStringView text);

    bool isEmpty() const { return words_.empty(); }
    const std::vector<std::string>& words() const { return words_; }
    // Whether the query matches a name in its normalised form.
    bool matches(std::string_view normalized) const;

private:
    std::vector<std::string> words_;
};

// Calls f(word) for each word of a normalised form.
template <typename F>
void forEachWord(std::string_view normalized, F&& f) {
    while (!normalized.empty()) {
        const size_t blank = normalized.find(' ');
        f(normalized.substr(0, blank));
        normalized =
            blank == std::string_view::npos ? std::string_view() : normalized.substr(blank + 1);
    }
}

}  // namespace ludora
