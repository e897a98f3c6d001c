// zelbo-pack grade: the verdict the player gives to an answer typed, for one pair or a table of them.
#include "authoring/cp1252.h"
#include "authoring/files_win.h"
#include "authoring/grade_table.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

namespace {

bool ToCp1252(const std::string& utf8, const char* what, std::string* out)
{
    const Cp1252Result converted = Utf8ToCp1252(utf8);
    if (!converted.ok) {
        Fail(std::string(what) + " contient un caractère absent du jeu Windows-1252 du lecteur");
        return false;
    }
    *out = converted.text;
    return true;
}

} // namespace

int RunGrade(const PackCommand& command)
{
    if (command.tsv) {
        const std::filesystem::path path = ArgumentPath(command.operands[0]);
        std::string table;
        if (!ReadWholeFile(path, &table))
            return Fail(ReadFailure(path));
        const GradeTableResult result = GradeTable(table, command.accentsForgiven);
        if (!result.ok)
            return Fail(command.operands[0] + ", " + result.error);
        PrintOut(result.verdicts);
        return EXIT_OK;
    }
    std::string expected, typed;
    if (!ToCp1252(command.operands[0], "la réponse attendue", &expected) ||
        !ToCp1252(command.operands[1], "la saisie", &typed))
        return EXIT_FAILED;
    PrintOut(GradeToUtf8(expected, typed, command.accentsForgiven) + "\n");
    return EXIT_OK;
}
