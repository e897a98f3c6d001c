// The spreadsheet reader on arbitrary bytes, as zelbo-pack new takes them: decoded as a text file,
// read as a table, made into a quiz and written as quiz.toml. Whatever the table holds, the file
// written must read back with the same questions, variants and file names.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "authoring/quiz_draft.h"
#include "authoring/quiz_writer.h"
#include "authoring/table_reader.h"
#include "authoring/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const DecodedText text = DecodeTextFile(std::string(reinterpret_cast<const char*>(data), size));
    if (!text.ok)
        return 0;
    const TableRead table = ReadTable(text.utf8);
    if (!table.ok)
        return 0;
    int previousLine = 0;
    for (const TableRow& row : table.rows) {
        if (row.line <= previousLine)
            std::abort();
        previousLine = row.line;
        for (const std::string& field : row.fields)
            if (field.find_first_of("\r\n") != std::string::npos)
                std::abort();
    }
    const QuizDraft draft = DraftFromTable(table, {"Titre", ""});
    if (draft.HasErrors())
        return 0;
    const SourceParse parse = ParseQuizSource(WriteQuizSource(draft.quiz, {"images", true, "table.csv", "quiz.toml"}));
    const size_t expected = std::min(draft.quiz.questions.size(), static_cast<size_t>(MAX_QUESTIONS));
    if (parse.quiz.questions.size() != expected)
        std::abort();
    for (size_t i = 0; i < expected; ++i) {
        for (int p = 0; p < draft.quiz.answersPerQuestion; ++p)
            if (parse.quiz.questions[i].variants[p] != draft.quiz.questions[i].variants[p])
                std::abort();
        const std::string& picture = draft.quiz.questions[i].picture;
        if (!picture.empty() && parse.quiz.questions[i].picture != "images/" + picture &&
            parse.quiz.questions[i].picture != picture)
            std::abort();
    }
    return 0;
}
