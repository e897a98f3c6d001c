#include "pack/command_line.h"

namespace {

struct CommandRule {
    const char* name;
    int operands; // grade: 2, or 1 with --tsv
    bool takesOutput;
    bool takesPlayer;
    bool takesKeepPictures;
    bool takesJobs;
    bool takesTsv;
    bool takesForce;
    bool startsQuiz; // --table, --pictures, --title, --kind
    const char* help;
};

const CommandRule COMMANDS[] = {
    {"encode", 2, false, false, false, false, false, false, false,
     "Usage : zelbo-pack encode ENTR\xC3\x89"
     "E SORTIE\n"
     "Compresse le fichier ENTR\xC3\x89"
     "E avec le codec LZW du lecteur et \xC3\xA9"
     "crit le r\xC3\xA9sultat dans SORTIE.\n"
     "L'entr\xC3\xA9"
     "e doit faire de 1 \xC3\xA0 65535 octets. En cas d'\xC3\xA9"
     "chec, le nom du code d'erreur\n"
     "(par exemple LZW_WRITE_FAILED) est \xC3\xA9"
     "crit sur la sortie d'erreur.\n"},
    {"decode", 2, false, false, false, false, false, false, false,
     "Usage : zelbo-pack decode ENTR\xC3\x89"
     "E SORTIE\n"
     "D\xC3\xA9"
     "compresse le fichier ENTR\xC3\x89"
     "E (un flux LZW du lecteur) dans SORTIE.\n"
     "En cas d'\xC3\xA9"
     "chec, SORTIE re\xC3\xA7oit tout ce qui a pu \xC3\xAAtre d\xC3\xA9"
     "cod\xC3\xA9 et le nom du code\n"
     "d'erreur (par exemple LZW_BAD_CODE) est \xC3\xA9"
     "crit sur la sortie d'erreur.\n"},
    {"grade", 2, false, false, false, false, true, false, false,
     "Usage : zelbo-pack grade ATTENDUE SAISIE\n"
     "        zelbo-pack grade --tsv FICHIER\n"
     "Affiche le verdict que le lecteur donnerait \xC3\xA0 la SAISIE pour la r\xC3\xA9ponse ATTENDUE\n"
     "(BRAVO, FAUX, Anagramme, Quasiment, Presque, Trop long, Trop court, pas loin, y a de l'id\xC3\xA9"
     "e, ?).\n"
     "Avec --tsv, FICHIER contient une paire par ligne, en UTF-8 : attendue<TAB>saisie ;\n"
     "un verdict est affich\xC3\xA9 par ligne (une ligne vide donne une ligne vide).\n"},
    {"check", 1, false, false, false, true, false, false, false,
     "Usage : zelbo-pack check QUIZ.toml [--jobs N]\n"
     "V\xC3\xA9rifie la source du quiz et ses images ou clips sans rien \xC3\xA9"
     "crire.\n"
     "  --jobs N           traiter N images \xC3\xA0 la fois (par d\xC3\xA9"
     "faut, autant que de processeurs)\n"
     "Chaque probl\xC3\xA8me est signal\xC3\xA9 avec son fichier et sa ligne (quiz.toml:12: ...).\n"
     "Le format de la source est d\xC3\xA9"
     "crit dans docs/quiz-format.md.\n"},
    {"build", 1, true, true, true, true, false, false, false,
     "Usage : zelbo-pack build QUIZ.toml -o SORTIE.exe [--player LECTEUR.exe] [--keep-pictures] [--jobs N]\n"
     "Fabrique le quiz : une copie du lecteur qui emporte le contenu, les codes et les images.\n"
     "  -o SORTIE.exe      le quiz \xC3\xA0 \xC3\xA9"
     "crire (remplac\xC3\xA9 seulement si tout a r\xC3\xA9ussi ; seul un quiz\n"
     "                     existant est remplac\xC3\xA9, jamais la source, une image ou un autre fichier)\n"
     "  --player FICHIER   le lecteur \xC3\xA0 copier (par d\xC3\xA9"
     "faut zelbo.exe, \xC3\xA0 c\xC3\xB4t\xC3\xA9 de zelbo-pack.exe)\n"
     "  --keep-pictures    garder les images telles quelles ; sinon une image de plus de 520 pixels\n"
     "                     de large ou de haut est r\xC3\xA9"
     "duite et r\xC3\xA9"
     "enregistr\xC3\xA9"
     "e en JPEG (un PNG est\n"
     "                     toujours converti en JPEG : le lecteur ne sait pas le lire)\n"
     "  --jobs N           traiter N images \xC3\xA0 la fois (par d\xC3\xA9"
     "faut, autant que de processeurs) ;\n"
     "                     le quiz \xC3\xA9"
     "crit est le m\xC3\xAAme quel que soit N\n"},
    {"extract", 1, true, false, false, false, false, true, false,
     "Usage : zelbo-pack extract QUIZ.exe -o DOSSIER [--force]\n"
     "Retrouve la source d'un quiz : \xC3\xA9"
     "crit DOSSIER/quiz.toml et ses images ou clips dans\n"
     "DOSSIER/medias. Reconstruire ce quiz.toml avec build redonne le m\xC3\xAAme contenu.\n"
     "  --force   remplacer le quiz.toml et les fichiers d'une extraction pr\xC3\xA9"
     "c\xC3\xA9"
     "dente (sans --force,\n"
     "            un DOSSIER qui en contient d\xC3\xA9j\xC3\xA0 est refus\xC3\xA9 et rien n'est \xC3\xA9"
     "crit)\n"},
    {"new", 0, true, false, false, false, false, true, true,
     "Usage : zelbo-pack new --table TABLEAU.csv [-o quiz.toml] [--title TITRE] [--kind GENRE] [--force]\n"
     "        zelbo-pack new --pictures DOSSIER [-o quiz.toml] [--title TITRE] [--kind GENRE] [--force]\n"
     "Pr\xC3\xA9pare un quiz.toml \xC3\xA0 compl\xC3\xA9ter, \xC3\xA0 partir d'un tableau ou d'un dossier d'images.\n"
     "  --table FICHIER    un tableau enregistr\xC3\xA9 en CSV (s\xC3\xA9par\xC3\xA9 par des points-virgules, des\n"
     "                     virgules ou des tabulations, en UTF-8, UTF-16 ou Windows-1252) ; sa premi\xC3\xA8re\n"
     "                     ligne nomme les colonnes : question (ou texte), r\xC3\xA9ponse (ou r\xC3\xA9ponse 1),\n"
     "                     r\xC3\xA9ponse 2, image (ou fichier), texte d\xC3\xA9voil\xC3\xA9, image "
     "d\xC3\xA9voil\xC3\xA9"
     "e\n"
     "  --pictures DOSSIER une question par image ou clip du dossier, dans l'ordre des noms ; la r\xC3\xA9ponse\n"
     "                     est le nom du fichier (tour_eiffel.jpg donne \xC2\xAB tour eiffel \xC2\xBB) et\n"
     "                     paris-reponse.jpg est l'image d\xC3\xA9voil\xC3\xA9"
     "e de paris.jpg\n"
     "  -o FICHIER         le fichier \xC3\xA0 \xC3\xA9"
     "crire (par d\xC3\xA9"
     "faut quiz.toml)\n"
     "  --title TITRE      le titre du quiz (par d\xC3\xA9"
     "faut le nom du tableau ou du dossier)\n"
     "  --kind GENRE       text, picture, audio ou video (par d\xC3\xA9"
     "faut d'apr\xC3\xA8s les fichiers)\n"
     "  --force            remplacer le fichier s'il existe d\xC3\xA9j\xC3\xA0\n"
     "Le format de quiz.toml est d\xC3\xA9"
     "crit dans docs/quiz-format.md.\n"},
};

const char GENERAL_HELP[] =
    "zelbo-pack, l'outil des auteurs de quiz Zelbo\n"
    "\n"
    "Usage : zelbo-pack COMMANDE [ARGUMENTS]\n"
    "  build    fabrique un quiz (.exe) \xC3\xA0 partir de sa source quiz.toml\n"
    "  check    v\xC3\xA9rifie une source sans rien fabriquer\n"
    "  extract  retrouve la source et les images d'un quiz fabriqu\xC3\xA9\n"
    "  new      pr\xC3\xA9pare un quiz.toml \xC3\xA0 partir d'un tableau ou d'un dossier d'images\n"
    "  grade    affiche le verdict du lecteur pour une r\xC3\xA9ponse saisie\n"
    "  encode   compresse un fichier avec le codec du lecteur\n"
    "  decode   d\xC3\xA9"
    "compresse un fichier compress\xC3\xA9 par encode\n"
    "\n"
    "zelbo-pack COMMANDE --help affiche l'aide d'une commande.\n";

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
        return Failure("commande inconnue \xC2\xAB " + first + " \xC2\xBB (zelbo-pack --help donne la liste)");
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
                return Failure("l'option --jobs attend un nombre de 1 \xC3\xA0 " + std::to_string(MAX_JOBS));
        } else if (argument == "--tsv" && rule->takesTsv) {
            command.tsv = true;
        } else if (argument == "--force" && rule->takesForce) {
            command.force = true;
        } else {
            return Failure("option inconnue \xC2\xAB " + argument + " \xC2\xBB pour " + command.name + " (zelbo-pack " +
                           command.name + " --help)");
        }
    }
    if (command.help)
        return result;

    const int count = static_cast<int>(command.operands.size());
    const int wanted = command.name == "grade" ? (command.tsv ? 1 : 2) : rule->operands;
    if (count != wanted)
        return Failure(command.name + " attend " + std::to_string(wanted) + " argument" + (wanted > 1 ? "s" : "") +
                       ", " + std::to_string(count) + " donn\xC3\xA9" + (count > 1 ? "s" : "") + " (zelbo-pack " +
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

std::string PackHelpText(const std::string& command)
{
    const CommandRule* rule = FindCommand(command);
    return rule ? rule->help : GENERAL_HELP;
}
