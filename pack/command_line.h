// The tool's command line: subcommands, their options and their help texts (French, UTF-8).
#pragma once

#include <string>
#include <vector>

struct PackCommand {
    std::string name; // "encode", "decode", "grade", "check", "build", "extract", "new"; empty: none given
    std::vector<std::string> operands;
    std::string output;           // -o
    std::string player;           // --player
    bool keepPictures = false;    // --keep-pictures
    bool force = false;           // --force (extract, new): write over what is there
    int jobs = 0;                 // --jobs: pictures converted at once; 0 for one per processor
    bool tsv = false;             // grade --tsv
    bool accentsForgiven = false; // grade --accents tolérés
    std::string table;            // new --table
    std::string pictures;         // new --pictures
    std::string title;            // new --title
    std::string kind;             // new --kind
    bool help = false;            // --help, -h, or "help" as the command
};

struct CommandLineParse {
    bool ok;
    PackCommand command;
    std::string error; // French, for stderr, when not ok
};

// Arguments after the program name, UTF-8.
CommandLineParse ParsePackCommandLine(const std::vector<std::string>& arguments);

// What a file or folder dropped onto the tool in Explorer asks for, its path the only argument: a
// source (.toml) is built into the quiz beside it (quiz.toml gives quiz.exe); a table (.csv, .txt)
// drafts the quiz.toml beside it, and a folder of pictures the quiz.toml inside it, as new does.
// False for a command's name, an option, or a path of none of these kinds.
bool DroppedCommand(const std::string& path, bool isFolder, PackCommand* command);

// The general help when command is empty or unknown, otherwise that command's own.
std::string PackHelpText(const std::string& command);
