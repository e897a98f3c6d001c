#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack/command_line.h"

// Each command line, then the command it makes ("H" for help) or the start of its error.
TEST(CommandLine, ArgumentsMakeCommandsOrFrenchErrors)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "! il manque la commande"},
        {{"-h"}, " H"},
        {{"help", "build"}, "build H"},
        {{"extract", "--help"}, "extract H"},
        {{"build", "q.toml", "-o", "q.exe", "--player", "p.exe", "--keep-pictures", "--jobs", "3"},
         "build q.toml -o q.exe -p p.exe K J3"},
        {{"extract", "q.exe", "-o", "d", "--force"}, "extract q.exe -o d F"},
        {{"encode", "a", "b"}, "encode a b"},
        {{"decode", "a", "-"}, "decode a -"},
        {{"check", "q.toml"}, "check q.toml"},
        {{"grade", "--", "-x", "-y"}, "grade -x -y"},
        {{"grade", "--tsv", "t.tsv"}, "grade t.tsv T"},
        {{"grade", "a|b", "--accents", "tol\xC3\xA9r\xC3\xA9s", "c"}, "grade a|b c A"},
        {{"grade", "--tsv", "t.tsv", "--accents", "stricts"}, "grade t.tsv T"},
        {{"grade", "a", "b", "--accents", "oui"}, "! l'option --accents attend stricts ou tol\xC3\xA9r\xC3\xA9s"},
        {{"check", "q.toml", "--accents", "toleres"}, "! option inconnue"},
        {{"pack"}, "! commande inconnue \xC2\xAB pack \xC2\xBB"},
        {{"encode", "a"}, "! encode attend 2 arguments, 1 donn\xC3\xA9 (zelbo-pack encode --help)"},
        {{"grade", "--tsv"}, "! grade attend 1 argument, 0 donn\xC3\xA9 ("},
        {{"grade", "--tsv", "a", "b"}, "! grade attend 1 argument, 2 donn\xC3\xA9s ("},
        {{"grade", "a", "b", "c"}, "! grade attend 2 arguments, 3 donn\xC3\xA9s ("},
        {{"build", "q.toml"}, "! build demande -o SORTIE.exe"},
        {{"extract", "q.exe"}, "! extract demande -o DOSSIER"},
        {{"build", "q.toml", "-o"}, "! l'option -o attend un nom de fichier"},
        {{"extract", "q.exe", "-o", "d", "--keep-pictures"}, "! option inconnue \xC2\xAB --keep-pictures \xC2\xBB"},
        {{"check", "q.toml", "--tsv"}, "! option inconnue"},
        {{"grade", "a", "b", "--jobs", "2"}, "! option inconnue"},
        {{"check", "q.toml", "--force"}, "! option inconnue"},
        {{"build", "q.toml", "-o", "q.exe", "--force"}, "! option inconnue"},
        {{"decode", "a", "b", "--player", "p"}, "! option inconnue"},
        {{"encode", "a", "b", "-o", "x"}, "! option inconnue"},
        {{"new", "--table", "t.csv", "--title"}, "! l'option --title attend une valeur"},
        {{"build", "q.toml", "-o", "o", "--jobs", "65"}, "! l'option --jobs attend un nombre de 1 \xC3\xA0 64"},
        {{"check", "q.toml", "--jobs", "x"}, "! l'option --jobs attend"}};
    for (const auto& [arguments, expected] : cases) {
        const CommandLineParse parse = ParsePackCommandLine(arguments);
        const PackCommand& c = parse.command;
        std::string made = parse.ok ? c.name : "! " + parse.error;
        for (const std::string& operand : c.operands)
            made += " " + operand;
        made += (c.output.empty() ? "" : " -o " + c.output) + (c.player.empty() ? "" : " -p " + c.player);
        made += std::string(c.keepPictures ? " K" : "") + (c.jobs ? " J" + std::to_string(c.jobs) : "") +
                (c.tsv ? " T" : "") + (c.accentsForgiven ? " A" : "") + (c.force ? " F" : "") + (c.help ? " H" : "");
        EXPECT_EQ(made.substr(0, parse.ok ? std::string::npos : expected.size()), expected);
    }
    EXPECT_NE(PackHelpText("extract").find("extract QUIZ.exe -o DOSSIER"), std::string::npos);
    EXPECT_NE(PackHelpText("").find("COMMANDE"), std::string::npos);
}

// A lone path dropped onto the tool ("/" ending a folder's) and the command it makes ("" for none).
TEST(CommandLine, DroppedFilesAndFoldersMakeTheirCommands)
{
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Quiz\\Capitales.TOML", "build C:\\Quiz\\Capitales.TOML -o C:\\Quiz\\Capitales.exe"},
        {"C:\\Quiz\\questions.csv", "new t=C:\\Quiz\\questions.csv -o C:\\Quiz\\quiz.toml"},
        {"liste.Txt", "new t=liste.Txt -o quiz.toml"},
        {"C:\\Mes photos/", "new p=C:\\Mes photos -o C:\\Mes photos\\quiz.toml"},
        {"D:\\/", "new p=D:\\ -o D:\\quiz.toml"},
        {"C:\\Quiz.v2\\paris.jpg", ""},
        {"C:\\Quiz.v2\\notes", ""},
        {"check/", ""},
        {"csv", ""},
        {"--help", ""},
        {"-x.toml", ""}};
    for (const auto& [dropped, expected] : cases) {
        const bool isFolder = dropped.back() == '/';
        PackCommand c;
        std::string made;
        if (DroppedCommand(dropped.substr(0, dropped.size() - isFolder), isFolder, &c))
            made = c.name + (c.table.empty() ? "" : " t=" + c.table) + (c.pictures.empty() ? "" : " p=" + c.pictures) +
                   (c.operands.empty() ? "" : " " + c.operands[0]) + " -o " + c.output;
        EXPECT_EQ(made, expected) << dropped;
    }
}
