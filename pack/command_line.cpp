#include "pack/command_line.h"

#include "authoring/paths.h"
#include "authoring/quiz_source.h"

namespace {

struct CommandRule {
    const char* name;
    int operands; // grade: 2, or 1 with --tsv
    bool takesOutput;
    bool takesPlayer;
    bool takesKeepPictures;
    bool takesJobs;
    bool grades; // --tsv, --accents
    bool takesForce;
    bool startsQuiz; // --table, --pictures, --title, --kind
    const char* help;
};

const CommandRule COMMANDS[] = {
    {"encode", 2, false, false, false, false, false, false, false,
     "Usage : zelbo-pack encode ENTRÉE SORTIE\n"
     "Compresse le fichier ENTRÉE avec le codec LZW du lecteur et écrit le résultat dans SORTIE.\n"
     "L'entrée doit faire de 1 à 65535 octets. En cas d'échec, le nom du code d'erreur\n"
     "(par exemple LZW_WRITE_FAILED) est écrit sur la sortie d'erreur.\n"},
    {"decode", 2, false, false, false, false, false, false, false,
     "Usage : zelbo-pack decode ENTRÉE SORTIE\n"
     "Décompresse le fichier ENTRÉE (un flux LZW du lecteur) dans SORTIE.\n"
     "En cas d'échec, SORTIE reçoit tout ce qui a pu être décodé et le nom du code\n"
     "d'erreur (par exemple LZW_BAD_CODE) est écrit sur la sortie d'erreur.\n"},
    {"grade", 2, false, false, false, false, true, false, false,
     "Usage : zelbo-pack grade ATTENDUE SAISIE [--accents tolérés]\n"
     "        zelbo-pack grade --tsv FICHIER [--accents tolérés]\n"
     "Affiche le verdict que le lecteur donnerait à la SAISIE pour la réponse ATTENDUE\n"
     "(BRAVO, FAUX, Anagramme, Quasiment, Presque, Trop long, Trop court, pas loin, y a de l'idée, ?).\n"
     "ATTENDUE peut donner, après la réponse, les autres réponses acceptées, chacune après un « | » :\n"
     "  zelbo-pack grade \"Charles de Gaulle|De Gaulle\" \"de gaule\"   (affiche : Quasiment)\n"
     "  --accents tolérés  juger comme un quiz qui tolère les accents (É compte pour E) ;\n"
     "                     « toleres » s'écrit aussi, et « stricts », le réglage par défaut\n"
     "Avec --tsv, FICHIER contient une paire par ligne, en UTF-8 : attendue<TAB>saisie ;\n"
     "un verdict est affiché par ligne (une ligne vide donne une ligne vide).\n"},
    {"check", 1, false, false, false, true, false, false, false,
     "Usage : zelbo-pack check QUIZ.toml [--jobs N]\n"
     "Vérifie la source du quiz et ses images ou clips sans rien écrire.\n"
     "  --jobs N           traiter N images à la fois (par défaut, autant que de processeurs)\n"
     "Chaque problème est signalé avec son fichier et sa ligne (quiz.toml:12: ...).\n"
     "Le format de la source est décrit dans docs/quiz-format.md.\n"},
    {"build", 1, true, true, true, true, false, false, false,
     "Usage : zelbo-pack build QUIZ.toml -o SORTIE.exe [--player LECTEUR.exe] [--keep-pictures] [--jobs N]\n"
     "Fabrique le quiz : une copie du lecteur qui emporte le contenu, les codes et les images.\n"
     "  -o SORTIE.exe      le quiz à écrire (remplacé seulement si tout a réussi ; seul un quiz\n"
     "                     existant est remplacé, jamais la source, une image ou un autre fichier)\n"
     "  --player FICHIER   le lecteur à copier (par défaut zelbo.exe, à côté de zelbo-pack.exe)\n"
     "  --keep-pictures    garder les images telles quelles ; sinon une image de plus de 520 pixels\n"
     "                     de large ou de haut est réduite et réenregistrée en JPEG (un PNG est\n"
     "                     toujours converti en JPEG : le lecteur ne sait pas le lire)\n"
     "  --jobs N           traiter N images à la fois (par défaut, autant que de processeurs) ;\n"
     "                     le quiz écrit est le même quel que soit N\n"},
    {"extract", 1, true, false, false, false, false, true, false,
     "Usage : zelbo-pack extract QUIZ.exe -o DOSSIER [--force]\n"
     "Retrouve la source d'un quiz : écrit DOSSIER/quiz.toml et ses images ou clips dans\n"
     "DOSSIER/medias. Reconstruire ce quiz.toml avec build redonne le même contenu.\n"
     "  --force   remplacer le quiz.toml et les fichiers d'une extraction précédente (sans --force,\n"
     "            un DOSSIER qui en contient déjà est refusé et rien n'est écrit)\n"},
    {"new", 0, true, false, false, false, false, true, true,
     "Usage : zelbo-pack new --table TABLEAU.csv [-o quiz.toml] [--title TITRE] [--kind GENRE] [--force]\n"
     "        zelbo-pack new --pictures DOSSIER [-o quiz.toml] [--title TITRE] [--kind GENRE] [--force]\n"
     "Prépare un quiz.toml à compléter, à partir d'un tableau ou d'un dossier d'images.\n"
     "  --table FICHIER    un tableau enregistré en CSV (séparé par des points-virgules, des\n"
     "                     virgules ou des tabulations, en UTF-8, UTF-16 ou Windows-1252) ; sa première\n"
     "                     ligne nomme les colonnes : question (ou texte), réponse (ou réponse 1),\n"
     "                     réponse 2, image (ou fichier), texte dévoilé, image dévoilée, et\n"
     "                     autres réponses (ou autres réponses 1), autres réponses 2 : les autres\n"
     "                     réponses acceptées, séparées par des « | »\n"
     "  --pictures DOSSIER une question par image ou clip du dossier, dans l'ordre des noms ; la réponse\n"
     "                     est le nom du fichier (tour_eiffel.jpg donne « tour eiffel ») et\n"
     "                     paris-reponse.jpg est l'image dévoilée de paris.jpg\n"
     "  -o FICHIER         le fichier à écrire (par défaut quiz.toml)\n"
     "  --title TITRE      le titre du quiz (par défaut le nom du tableau ou du dossier)\n"
     "  --kind GENRE       text, picture, audio ou video (par défaut d'après les fichiers)\n"
     "  --force            remplacer le fichier s'il existe déjà\n"
     "Le format de quiz.toml est décrit dans docs/quiz-format.md.\n"},
};

const char GENERAL_HELP[] = "zelbo-pack, l'outil des auteurs de quiz Zelbo\n"
                            "\n"
                            "Usage : zelbo-pack COMMANDE [ARGUMENTS]\n"
                            "  build    fabrique un quiz (.exe) à partir de sa source quiz.toml\n"
                            "  check    vérifie une source sans rien fabriquer\n"
                            "  extract  retrouve la source et les images d'un quiz fabriqué\n"
                            "  new      prépare un quiz.toml à partir d'un tableau ou d'un dossier d'images\n"
                            "  grade    affiche le verdict du lecteur pour une réponse saisie\n"
                            "  encode   compresse un fichier avec le codec du lecteur\n"
                            "  decode   décompresse un fichier compressé par encode\n"
                            "\n"
                            "zelbo-pack COMMANDE --help affiche l'aide d'une commande.\n"
                            "Sans console, glissez sur zelbo-pack.exe un quiz.toml pour fabriquer le quiz à côté,\n"
                            "ou un dossier d'images ou un tableau (.csv, .txt) pour en préparer le quiz.toml.\n";

const CommandRule* FindCommand(const std::string& name)
{
    for (const CommandRule& rule : COMMANDS)
        if (name == rule.name)
            return &rule;
    return nullptr;
}

constexpr int MAX_JOBS = 64;

// The count given to --jobs, or 0 when it is not a whole number from 1 to MAX_JOBS.
int JobCount(const std::string& text)
{
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int count = std::stoi(text);
    return count <= MAX_JOBS ? count : 0;
}

// The field an option with a value fills, or null when the command takes no such option.
std::string* ValueOf(const CommandRule& rule, const std::string& option, PackCommand& command)
{
    if (option == "-o" && rule.takesOutput)
        return &command.output;
    if (option == "--player" && rule.takesPlayer)
        return &command.player;
    if (!rule.startsQuiz)
        return nullptr;
    if (option == "--table")
        return &command.table;
    if (option == "--pictures")
        return &command.pictures;
    if (option == "--title")
        return &command.title;
    return option == "--kind" ? &command.kind : nullptr;
}

// name inside folder: Explorer's paths take "\" between folders.
std::string InFolder(const std::string& folder, const std::string& name)
{
    const bool ended = folder.empty() || folder.back() == '\\' || folder.back() == '/' || folder.back() == ':';
    return folder + (ended ? "" : "\\") + name;
}

CommandLineParse Failure(const std::string& message)
{
    return {false, {}, message};
}

} // namespace

CommandLineParse ParsePackCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineParse result{true, {}, {}};
    PackCommand& command = result.command;
    if (arguments.empty())
        return Failure("il manque la commande\n\n" + std::string(GENERAL_HELP, sizeof(GENERAL_HELP) - 2));
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h" || first == "help") {
        command.help = true;
        if (arguments.size() > 1 && FindCommand(arguments[1]))
            command.name = arguments[1];
        return result;
    }
    const CommandRule* rule = FindCommand(first);
    if (!rule)
        return Failure("commande inconnue « " + first + " » (zelbo-pack --help donne la liste)");
    command.name = rule->name;

    bool optionsEnded = false;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            command.operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            command.help = true;
        } else if (std::string* value = ValueOf(*rule, argument, command)) {
            if (i + 1 == arguments.size())
                return Failure("l'option " + argument +
                               (value == &command.title || value == &command.kind ? " attend une valeur"
                                                                                  : " attend un nom de fichier"));
            *value = arguments[++i];
        } else if (argument == "--keep-pictures" && rule->takesKeepPictures) {
            command.keepPictures = true;
        } else if (argument == "--jobs" && rule->takesJobs) {
            command.jobs = i + 1 < arguments.size() ? JobCount(arguments[++i]) : 0;
            if (command.jobs == 0)
                return Failure("l'option --jobs attend un nombre de 1 à " + std::to_string(MAX_JOBS));
        } else if (argument == "--tsv" && rule->grades) {
            command.tsv = true;
        } else if (argument == "--accents" && rule->grades) {
            if (i + 1 == arguments.size() || !ReadAccentsValue(arguments[++i], &command.accentsForgiven))
                return Failure(std::string("l'option --accents attend ") + ACCENTS_STRICT + " ou " + ACCENTS_FORGIVEN);
        } else if (argument == "--force" && rule->takesForce) {
            command.force = true;
        } else {
            return Failure("option inconnue « " + argument + " » pour " + command.name + " (zelbo-pack " +
                           command.name + " --help)");
        }
    }
    if (command.help)
        return result;

    const int count = static_cast<int>(command.operands.size());
    const int wanted = command.name == "grade" ? (command.tsv ? 1 : 2) : rule->operands;
    if (count != wanted)
        return Failure(command.name + " attend " + std::to_string(wanted) + " argument" + (wanted > 1 ? "s" : "") +
                       ", " + std::to_string(count) + " donné" + (count > 1 ? "s" : "") + " (zelbo-pack " +
                       command.name + " --help)");
    if (rule->startsQuiz) {
        if (command.table.empty() == command.pictures.empty())
            return Failure("new demande soit --table TABLEAU.csv, soit --pictures DOSSIER (zelbo-pack new --help)");
        if (command.output.empty())
            command.output = "quiz.toml";
    } else if (rule->takesOutput && command.output.empty()) {
        return Failure(command.name + " demande -o " + (command.name == "build" ? "SORTIE.exe" : "DOSSIER"));
    }
    return result;
}

bool DroppedCommand(const std::string& path, bool isFolder, PackCommand* command)
{
    if (path.empty() || path[0] == '-' || path == "help" || FindCommand(path))
        return false;
    *command = {};
    const std::string extension = LowerExtension(path);
    if (isFolder) {
        command->name = "new";
        command->pictures = path;
        command->output = InFolder(path, "quiz.toml");
    } else if (extension == "toml") {
        command->name = "build";
        command->operands = {path};
        command->output = path.substr(0, path.size() - extension.size()) + "exe";
    } else if (extension == "csv" || extension == "txt") {
        command->name = "new";
        command->table = path;
        command->output = InFolder(path.substr(0, path.find_last_of("/\\:") + 1), "quiz.toml");
    }
    return !command->name.empty();
}

std::string PackHelpText(const std::string& command)
{
    const CommandRule* rule = FindCommand(command);
    return rule ? rule->help : GENERAL_HELP;
}
