// A deterministic French-like text for the codec's figures: sentences drawn from a small word list
// with a fixed generator, in code page 1252 like the quiz content, paragraphs ended by CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

inline std::string MakeFrenchText(size_t size, uint32_t seed = 2024)
{
    // Words separated by spaces, accents in code page 1252 (a literal is split where a hex digit
    // follows an escape, hence the layout by hand).
    // clang-format off
    static const char vocabulary[] =
        "le la les un une des du de et ou mais donc car avec sans pour dans sur sous entre chez vers qui que "
        "quoi dont o\xF9 ce cette il elle nous vous ils on est sont \xE9tait sera fut a ont avait peut doit "
        "fait dit voit prend donne trouve cherche r\xE9pond demande question r\xE9ponse joueur partie quiz "
        "image chanson film ville pays fleuve montagne roi reine peintre \xE9" "crivain chanteur acteur "
        "si\xE8" "cle ann\xE9" "e histoire g\xE9ographie musique cin\xE9ma litt\xE9rature science nature "
        "animal oiseau arbre mer for\xEA" "t ch\xE2teau \xE9glise pont rue place march\xE9 maison \xE9" "cole "
        "livre lettre mot nom titre auteur premier dernier grand petit vieux nouveau c\xE9l\xE8" "bre connu "
        "ancien fran\xE7" "ais europ\xE9" "en rapide lent juste faux presque toujours jamais souvent encore "
        "d\xE9j\xE0 bient\xF4t ici l\xE0 tr\xE8s plus moins bien mal aussi enfin";
    // clang-format on
    std::vector<std::string> words;
    std::istringstream stream(vocabulary);
    for (std::string word; stream >> word;)
        words.push_back(word);
    const uint32_t wordCount = static_cast<uint32_t>(words.size());
    uint32_t state = seed;
    auto next = [&state](uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    std::string text;
    text.reserve(size + 64);
    while (text.size() < size) {
        const uint32_t sentenceLength = 4 + next(12);
        for (uint32_t i = 0; i < sentenceLength; ++i) {
            std::string word = words[next(wordCount)];
            if (i == 0 && word[0] >= 'a' && word[0] <= 'z')
                word[0] = static_cast<char>(word[0] - 'a' + 'A');
            text += word;
            if (i + 1 < sentenceLength)
                text += next(9) == 0 ? ", " : " ";
        }
        const uint32_t ending = next(10);
        text += ending == 0 ? " ?" : ending == 1 ? " !" : ".";
        text += next(5) == 0 ? "\r\n" : " ";
    }
    text.resize(size);
    return text;
}
