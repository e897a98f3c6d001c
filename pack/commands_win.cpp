#include "pack/commands_win.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "pack/console_win.h"
#include "pack/cp1252.h"
#include "pack/files_win.h"
#include "pack/grade_table.h"
#include "pack/media_format.h"
#include "pack/overwrite_guard_win.h"
#include "pack/parallel_win.h"
#include "pack/paths.h"
#include "pack/pictures_win.h"
#include "pack/quiz_payload.h"
#include "pack/quiz_source.h"
#include "pack/quiz_writer.h"
#include "pack/resources_win.h"
#include "pack/shown_texts_win.h"
#include "pack/wording.h"
#include "platform/threads_win.h"
#include "platform/win_raii.h"
#include "resource.h"

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;

// The resource updater speaks in wide characters.
const wchar_t CONTENT_TYPE[] = L"" CONTENT_RESOURCE_TYPE;
const wchar_t PICTURE_TYPE[] = L"" PICTURE_RESOURCE_TYPE;
const char MEDIA_FOLDER[] = "medias";

int Fail(const std::string& message)
{
    PrintError("erreur : " + message + "\n");
    return EXIT_FAILED;
}

std::string CannotRead(const std::string& path)
{
    return "impossible de lire " + path + " : " + ReadProblem(path);
}

std::string CannotWrite(const std::string& path)
{
    return "impossible d'\xC3\xA9"
           "crire " +
           path + " (" + LastSystemError() + ")";
}

std::string SizeText(PixelSize size)
{
    return std::to_string(size.width) + " \xC3\x97 " + std::to_string(size.height);
}

// One picture or clip the quiz carries, with where it comes from for messages.
struct MediaItem {
    WORD resourceId;
    std::string fileName; // as written in the source
    int line;
    bool isClip;
};

// One picture or clip made ready, or the problem that stopped it.
struct PreparedMedia {
    bool ok = false;
    std::string bytes;
    std::string progress; // the line that reports it
    Diagnostic problem;
};

struct PreparedQuiz {
    QuizSource quiz;
    Bytes content; // compressed, ready for resource 104
    Bytes codes;   // compressed, ready for resource 105
    std::vector<std::pair<WORD, std::string>> media;
};

// The problems of a source are printed once everything is read, in the order of their lines,
// whichever check found them.
class QuizPreparation {
public:
    explicit QuizPreparation(const PackCommand& command) : m_command(command), m_sourceName(command.operands[0]) {}

    // Reads and validates the source; false (reported) only when it cannot be read at all.
    bool ReadSource(PreparedQuiz* prepared);
    // The source and the files the quiz would carry.
    std::vector<InputFile> Inputs(const PreparedQuiz& prepared) const;
    // Converts the pictures and clips, then the content; false once an error was found.
    bool Finish(PreparedQuiz* prepared);
    void PrintDiagnostics();
    size_t Errors() const { return m_errors; }
    size_t Warnings() const { return m_warnings; }

private:
    void Report(const Diagnostic& diagnostic)
    {
        ++(diagnostic.warning ? m_warnings : m_errors);
        m_diagnostics.push_back(diagnostic);
    }
    std::vector<MediaItem> ListMedia(const QuizSource& quiz) const;
    PreparedMedia PrepareMedia(const MediaItem& item, size_t number, size_t total) const;
    bool EncodePayloads(PreparedQuiz* prepared);

    const PackCommand& m_command;
    std::string m_sourceName;
    int32_t m_preparedKind = MEDIA_TEXT;
    std::vector<Diagnostic> m_diagnostics;
    size_t m_errors = 0;
    size_t m_warnings = 0;
};

std::vector<MediaItem> QuizPreparation::ListMedia(const QuizSource& quiz) const
{
    std::vector<MediaItem> items;
    const bool clips = quiz.mediaKind == MEDIA_AUDIO || quiz.mediaKind == MEDIA_VIDEO;
    for (size_t i = 0; i < quiz.questions.size(); ++i) {
        const SourceQuestion& question = quiz.questions[i];
        const auto number = static_cast<WORD>(i + 1);
        if (!question.picture.empty())
            items.push_back(
                {static_cast<WORD>(IDR_QUESTION_PICTURE_BASE + number), question.picture, question.pictureLine, clips});
        if (!question.answerPicture.empty())
            items.push_back({static_cast<WORD>(IDR_ANSWER_PICTURE_BASE + number), question.answerPicture,
                             question.answerPictureLine, false});
    }
    return items;
}

// Touches nothing but its result, so that several items are prepared at once.
PreparedMedia QuizPreparation::PrepareMedia(const MediaItem& item, size_t number, size_t total) const
{
    PreparedMedia media;
    const std::string path = ResolvePath(DirectoryOf(m_sourceName), item.fileName);
    std::string file;
    if (!ReadWholeFile(path, &file)) {
        media.problem = {false, item.line, path + " : " + ReadProblem(path)};
        return media;
    }
    const MediaFormat format = SniffMediaFormat(file);
    const std::string progress = (item.isClip ? "Clip " : "Image ") + std::to_string(number) + "/" +
                                 std::to_string(total) + " : " + item.fileName;
    if (item.isClip) {
        const bool audio = m_preparedKind == MEDIA_AUDIO;
        const MediaFormat wanted = audio ? MediaFormat::MP3 : MediaFormat::AVI;
        if (format != wanted) {
            media.problem = {false, item.line,
                             item.fileName +
                                 (audio ? " n'est pas un fichier MP3 (ni en-t\xC3\xAAte ID3 ni trame MPEG audio)"
                                        : " n'est pas une vid\xC3\xA9o AVI (en-t\xC3\xAAte RIFF AVI absent)")};
            return media;
        }
        media.progress = progress + " (" + Plural(file.size(), "octet") + ")\n";
        media.bytes = std::move(file);
        media.ok = true;
        return media;
    }
    PreparedPicture picture;
    std::string error;
    if (!PreparePicture(file, m_command.keepPictures, &picture, &error)) {
        media.problem = {false, item.line, item.fileName + " : " + error};
        return media;
    }
    switch (picture.action) {
    case PictureAction::KEEP:
        media.progress = progress + " (" + SizeText(picture.original) +
                         ", gard\xC3\xA9"
                         "e telle quelle)\n";
        break;
    case PictureAction::REENCODE:
        media.progress = progress + " (" + SizeText(picture.original) + ", convertie en JPEG)\n";
        break;
    case PictureAction::SCALE:
        media.progress = progress + " (" + SizeText(picture.original) + " \xE2\x86\x92 " + SizeText(picture.stored) +
                         ", r\xC3\xA9"
                         "duite en JPEG)\n";
        break;
    }
    media.bytes = std::move(picture.bytes);
    media.ok = true;
    return media;
}

bool QuizPreparation::EncodePayloads(PreparedQuiz* prepared)
{
    QuizPayloads payloads;
    std::string error;
    if (!MakeQuizPayloads(prepared->quiz, &payloads, &error)) {
        Report({false, 0, error});
        return false;
    }
    const int32_t contentResult = LzwEncodeBytes(payloads.content, &prepared->content);
    const int32_t codesResult = LzwEncodeBytes(payloads.codes, &prepared->codes);
    if (contentResult != 0 || codesResult != 0) {
        Report({false, 0,
                "la compression du contenu a \xC3\xA9"
                "chou\xC3\xA9 (" +
                    LzwResultName(contentResult ? contentResult : codesResult) + ")"});
        return false;
    }
    return true;
}

bool QuizPreparation::ReadSource(PreparedQuiz* prepared)
{
    std::string text;
    if (!ReadWholeFile(m_sourceName, &text)) {
        Fail(CannotRead(m_sourceName));
        ++m_errors;
        return false;
    }
    SourceParse parse = ParseQuizSource(text);
    for (const Diagnostic& diagnostic : parse.diagnostics)
        Report(diagnostic);
    for (const Diagnostic& diagnostic : CheckShownTexts(parse.shownTexts))
        Report(diagnostic);
    prepared->quiz = std::move(parse.quiz);
    m_preparedKind = prepared->quiz.mediaKind;
    return true;
}

std::vector<InputFile> QuizPreparation::Inputs(const PreparedQuiz& prepared) const
{
    std::vector<InputFile> inputs = {{m_sourceName, "la source du quiz"}};
    for (const MediaItem& item : ListMedia(prepared.quiz))
        inputs.push_back({ResolvePath(DirectoryOf(m_sourceName), item.fileName),
                          item.isClip ? "un clip du quiz" : "une image du quiz"});
    return inputs;
}

bool QuizPreparation::Finish(PreparedQuiz* prepared)
{
    // The files are checked even when the source has errors, so that one run reports everything.
    const std::vector<MediaItem> items = ListMedia(prepared->quiz);
    size_t clipCount = 0;
    for (const MediaItem& item : items)
        clipCount += item.isClip;
    std::vector<size_t> numbers;
    size_t clipNumber = 0, pictureNumber = 0;
    for (const MediaItem& item : items)
        numbers.push_back(item.isClip ? ++clipNumber : ++pictureNumber);
    // Pictures are converted on every core; what each one gives is reported in question order.
    std::vector<PreparedMedia> results(items.size());
    RunInOrder(
        items.size(), m_command.jobs > 0 ? static_cast<unsigned>(m_command.jobs) : ProcessorCount(),
        [&](size_t i) {
            results[i] = PrepareMedia(items[i], numbers[i], items[i].isClip ? clipCount : items.size() - clipCount);
        },
        [&](size_t i) {
            PreparedMedia& media = results[i];
            if (!media.ok) {
                Report(media.problem);
                return;
            }
            PrintOut(media.progress);
            prepared->media.emplace_back(items[i].resourceId, std::move(media.bytes));
        });
    return m_errors == 0 && EncodePayloads(prepared);
}

void QuizPreparation::PrintDiagnostics()
{
    SortByLine(m_diagnostics);
    for (const Diagnostic& diagnostic : m_diagnostics)
        PrintError(FormatDiagnostic(m_sourceName, diagnostic) + "\n");
    m_diagnostics.clear();
}

std::string Summary(const QuizPreparation& preparation, const PreparedQuiz& prepared)
{
    const size_t media = prepared.media.size();
    std::string summary = Plural(prepared.quiz.questions.size(), "question") + ", " + std::to_string(media) +
                          (media > 1 ? " images ou clips" : " image ou clip");
    if (preparation.Warnings())
        summary += ", " + Plural(preparation.Warnings(), "avertissement");
    return summary;
}

bool ToCp1252(const std::string& utf8, const char* what, std::string* out)
{
    const Cp1252Result converted = Utf8ToCp1252(utf8);
    if (!converted.ok) {
        Fail(std::string(what) + " contient un caract\xC3\xA8re absent du jeu Windows-1252 du lecteur");
        return false;
    }
    *out = converted.text;
    return true;
}

const ResourceEntry* FindEntry(const std::vector<ResourceEntry>& resources, const wchar_t* type, WORD id)
{
    for (const ResourceEntry& entry : resources)
        if (entry.type.IsType(type) && entry.name.text.empty() && entry.name.id == id)
            return &entry;
    return nullptr;
}

// The player must be one: its dialogs and version record, which a quiz built from it keeps too.
bool ReadPlayer(const std::string& path, bool isDefault, std::vector<ResourceEntry>* resources, std::string* error)
{
    if (!ReadModuleResources(path, resources, error)) {
        if (isDefault)
            *error += " (zelbo.exe doit \xC3\xAAtre \xC3\xA0 c\xC3\xB4t\xC3\xA9 de zelbo-pack.exe, ou donnez le "
                      "lecteur avec --player)";
        return false;
    }
    if (!IsPlayerImage(*resources)) {
        *error = path +
                 " n'est pas un lecteur Zelbo (il lui manque les fen\xC3\xAAtres du quiz) : --player attend zelbo.exe "
                 "ou un quiz d\xC3\xA9j\xC3\xA0 fabriqu\xC3\xA9";
        return false;
    }
    return true;
}

} // namespace

int RunEncode(const PackCommand& command)
{
    std::string input;
    if (!ReadWholeFile(command.operands[0], &input))
        return Fail(CannotRead(command.operands[0]));
    Bytes encoded;
    const int32_t result = LzwEncodeBytes(Bytes(input.begin(), input.end()), &encoded);
    if (result != 0)
        return Fail("la compression a \xC3\xA9"
                    "chou\xC3\xA9 : " +
                    LzwResultName(result));
    if (!WriteWholeFile(command.operands[1], std::string(encoded.begin(), encoded.end())))
        return Fail(CannotWrite(command.operands[1]));
    PrintOut(command.operands[1] + " : " + Plural(input.size(), "octet") + " compress\xC3\xA9" +
             (input.size() > 1 ? "s" : "") + " en " + std::to_string(encoded.size()) + "\n");
    return EXIT_OK;
}

int RunDecode(const PackCommand& command)
{
    std::string input;
    if (!ReadWholeFile(command.operands[0], &input))
        return Fail(CannotRead(command.operands[0]));
    Bytes decoded;
    const int32_t result = LzwDecodeBytes(Bytes(input.begin(), input.end()), &decoded);
    // What was decoded before a fault still helps to find it.
    if (!WriteWholeFile(command.operands[1], std::string(decoded.begin(), decoded.end())))
        return Fail(CannotWrite(command.operands[1]));
    const std::string decodedCount = Plural(decoded.size(), "octet") +
                                     " d\xC3\xA9"
                                     "cod\xC3\xA9" +
                                     (decoded.size() > 1 ? "s" : "");
    if (result != 0)
        return Fail("d\xC3\xA9"
                    "codage interrompu : " +
                    LzwResultName(result) + " (" + decodedCount +
                    " \xC3\xA9"
                    "crit" +
                    (decoded.size() > 1 ? "s" : "") + " dans " + command.operands[1] + ")");
    PrintOut(command.operands[1] + " : " + decodedCount + "\n");
    return EXIT_OK;
}

int RunGrade(const PackCommand& command)
{
    if (command.tsv) {
        std::string table;
        if (!ReadWholeFile(command.operands[0], &table))
            return Fail(CannotRead(command.operands[0]));
        const GradeTableResult result = GradeTable(table);
        if (!result.ok)
            return Fail(command.operands[0] + ", " + result.error);
        PrintOut(result.verdicts);
        return EXIT_OK;
    }
    std::string expected, typed;
    if (!ToCp1252(command.operands[0], "la r\xC3\xA9ponse attendue", &expected) ||
        !ToCp1252(command.operands[1], "la saisie", &typed))
        return EXIT_FAILED;
    PrintOut(GradeToUtf8(expected, typed) + "\n");
    return EXIT_OK;
}

int RunCheck(const PackCommand& command)
{
    QuizPreparation preparation(command);
    PreparedQuiz prepared;
    if (!preparation.ReadSource(&prepared))
        return EXIT_FAILED;
    const bool ok = preparation.Finish(&prepared);
    preparation.PrintDiagnostics();
    if (!ok) {
        PrintError(command.operands[0] + " : " + Plural(preparation.Errors(), "erreur") + "\n");
        return EXIT_FAILED;
    }
    PrintOut(command.operands[0] + " : aucune erreur (" + Summary(preparation, prepared) + ")\n");
    return EXIT_OK;
}

int RunBuild(const PackCommand& command)
{
    QuizPreparation preparation(command);
    PreparedQuiz prepared;
    if (!preparation.ReadSource(&prepared))
        return EXIT_FAILED;

    // The player and the output are checked before the pictures, which take the time.
    const std::string playerPath = command.player.empty() ? ProgramFolder() + "\\zelbo.exe" : command.player;
    std::vector<ResourceEntry> playerResources;
    std::string error;
    std::vector<InputFile> inputs = preparation.Inputs(prepared);
    inputs.push_back({playerPath, "le lecteur"});
    if (!ReadPlayer(playerPath, command.player.empty(), &playerResources, &error) ||
        !CheckQuizOutput(command.output, inputs, &error)) {
        preparation.PrintDiagnostics();
        return Fail(error);
    }
    const bool ok = preparation.Finish(&prepared);
    preparation.PrintDiagnostics();
    if (!ok) {
        PrintError(command.operands[0] + " : " + Plural(preparation.Errors(), "erreur") +
                   ", aucun quiz n'a \xC3\xA9t\xC3\xA9 \xC3\xA9"
                   "crit\n");
        return EXIT_FAILED;
    }
    std::string player;
    if (!ReadWholeFile(playerPath, &player))
        return Fail(CannotRead(playerPath));

    // Everything of the player but a quiz it may already carry.
    std::vector<ResourceEntry> resources;
    for (ResourceEntry& entry : playerResources) {
        if (entry.type.IsType(CONTENT_TYPE) || entry.type.IsType(PICTURE_TYPE))
            continue;
        if (entry.bytes.empty()) {
            PrintError("attention : la ressource vide " + entry.type.Describe() + " " + entry.name.Describe() +
                       " du lecteur n'est pas recopi\xC3\xA9"
                       "e\n");
            continue;
        }
        resources.push_back(std::move(entry));
    }
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    auto add = [&](const wchar_t* type, WORD id, std::string bytes) {
        ResourceEntry entry;
        entry.type.text = type;
        entry.name.id = id;
        entry.language = neutral;
        entry.bytes = std::move(bytes);
        resources.push_back(std::move(entry));
    };
    add(CONTENT_TYPE, IDR_CONTENT, std::string(prepared.content.begin(), prepared.content.end()));
    add(CONTENT_TYPE, IDR_CODES, std::string(prepared.codes.begin(), prepared.codes.end()));
    for (auto& [id, bytes] : prepared.media)
        add(PICTURE_TYPE, id, std::move(bytes));

    const bool replacing = KindOf(command.output) == PathKind::FILE;
    if (!WriteQuizExecutable(std::move(player), resources, command.output, &error))
        return Fail(error + (replacing ? " ; " + command.output + " n'a pas \xC3\xA9t\xC3\xA9 modifi\xC3\xA9"
                                       : " ; aucun quiz n'a \xC3\xA9t\xC3\xA9 \xC3\xA9"
                                         "crit"));
    PrintOut("Quiz \xC3\xA9"
             "crit : " +
             command.output + " (" + Summary(preparation, prepared) + ")\n");
    return EXIT_OK;
}

int RunExtract(const PackCommand& command)
{
    const std::string& quizPath = command.operands[0];
    std::vector<ResourceEntry> resources;
    std::string error;
    if (!ReadModuleResources(quizPath, &resources, &error))
        return Fail(error);
    const ResourceEntry* contentEntry = FindEntry(resources, CONTENT_TYPE, IDR_CONTENT);
    if (!contentEntry || contentEntry->bytes.empty())
        return Fail(quizPath + " ne contient pas de quiz (pas de ressource PATCH 104)");
    Bytes content, codes;
    const int32_t contentResult =
        LzwDecodeBytes(Bytes(contentEntry->bytes.begin(), contentEntry->bytes.end()), &content);
    if (contentResult != 0)
        return Fail("le contenu du quiz ne se d\xC3\xA9"
                    "code pas : " +
                    LzwResultName(contentResult));
    if (const ResourceEntry* codesEntry = FindEntry(resources, CONTENT_TYPE, IDR_CODES)) {
        const int32_t codesResult = LzwDecodeBytes(Bytes(codesEntry->bytes.begin(), codesEntry->bytes.end()), &codes);
        if (codesResult != 0) {
            PrintError("attention : les codes ne se d\xC3\xA9"
                       "codent pas (" +
                       LzwResultName(codesResult) + ") : ils sont laiss\xC3\xA9s vides\n");
            codes.clear();
        }
    } else {
        PrintError("attention : le quiz n'a pas de codes (ressource PATCH 105 absente)\n");
    }
    QuizSource quiz;
    if (!ReadQuizPayloads(content, codes, &quiz, &error))
        return Fail("le contenu du quiz est illisible : " + error);

    const std::string& folder = command.output;
    if (!PrepareExtractFolder(folder, MEDIA_FOLDER, command.force, &error))
        return Fail(error);
    if (!CreateFolder(folder))
        return Fail("impossible de cr\xC3\xA9"
                    "er le dossier " +
                    folder + " (" + LastSystemError() + ")");
    size_t written = 0;
    const auto count = static_cast<WORD>(quiz.questions.size());
    for (const ResourceEntry& entry : resources) {
        if (!entry.type.IsType(PICTURE_TYPE))
            continue;
        const WORD id = entry.name.text.empty() ? entry.name.id : 0;
        const bool isQuestion = id > IDR_QUESTION_PICTURE_BASE && id <= IDR_QUESTION_PICTURE_BASE + count;
        const bool isAnswer = id > IDR_ANSWER_PICTURE_BASE && id <= IDR_ANSWER_PICTURE_BASE + count;
        if (!isQuestion && !isAnswer) {
            PrintError("attention : ressource IMG " + entry.name.Describe() +
                       " ignor\xC3\xA9"
                       "e (aucune question)\n");
            continue;
        }
        const int number = id - (isQuestion ? IDR_QUESTION_PICTURE_BASE : IDR_ANSWER_PICTURE_BASE);
        std::string& target =
            isQuestion ? quiz.questions[number - 1].picture : quiz.questions[number - 1].answerPicture;
        if (!target.empty())
            continue; // another language of a resource already written
        char name[64];
        std::snprintf(name, sizeof(name), "%s/%s-%02d%s", MEDIA_FOLDER, isQuestion ? "question" : "reponse", number,
                      MediaExtension(SniffMediaFormat(entry.bytes)));
        if (!CreateFolder(folder + "/" + MEDIA_FOLDER) || !WriteWholeFile(folder + "/" + name, entry.bytes))
            return Fail(CannotWrite(folder + "/" + name));
        target = name;
        ++written;
    }
    const std::string sourcePath = folder + "/quiz.toml";
    if (!WriteWholeFile(sourcePath, WriteQuizSource(quiz)))
        return Fail(CannotWrite(sourcePath));
    PrintOut("Source \xC3\xA9"
             "crite : " +
             sourcePath + " (" + Plural(quiz.questions.size(), "question") + ", " + Plural(written, "fichier") +
             " dans " + folder + "/" + MEDIA_FOLDER + ")\n");
    return EXIT_OK;
}
