#include "authoring/quiz_build_win.h"

#include <windows.h>

#include "authoring/files_win.h"
#include "authoring/paths.h"
#include "authoring/resources_win.h"
#include "resource.h"

namespace {

// The resource updater speaks in wide characters.
const wchar_t CONTENT_TYPE[] = L"" CONTENT_RESOURCE_TYPE;
const wchar_t PICTURE_TYPE[] = L"" PICTURE_RESOURCE_TYPE;

// The player must be one: its dialogs and version record, which a quiz built from it keeps too.
BuildOutcome ReadPlayer(const std::filesystem::path& path, std::vector<ResourceEntry>* resources, std::string* error)
{
    if (!ReadModuleResources(path, resources, error))
        return BuildOutcome::PLAYER_UNREADABLE;
    if (!IsPlayerImage(*resources)) {
        *error = path.u8string() + " n'est pas un lecteur Zelbo (il lui manque les fenêtres du quiz)";
        return BuildOutcome::NOT_A_PLAYER;
    }
    return BuildOutcome::WRITTEN;
}

// Everything of the player but a quiz it may already carry, then the new quiz.
std::vector<ResourceEntry> QuizResources(std::vector<ResourceEntry> player, PreparedQuiz& prepared,
                                         std::vector<std::string>* warnings)
{
    std::vector<ResourceEntry> resources;
    for (ResourceEntry& entry : player) {
        if (entry.type.IsType(CONTENT_TYPE) || entry.type.IsType(PICTURE_TYPE))
            continue;
        if (entry.bytes.empty()) {
            warnings->push_back("la ressource vide " + entry.type.Describe() + " " + entry.name.Describe() +
                                " du lecteur n'est pas recopiée");
            continue;
        }
        resources.push_back(std::move(entry));
    }
    auto add = [&](const wchar_t* type, WORD id, std::string bytes) {
        ResourceEntry entry;
        entry.type.text = type;
        entry.name.id = id;
        entry.language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
        entry.bytes = std::move(bytes);
        resources.push_back(std::move(entry));
    };
    add(CONTENT_TYPE, IDR_CONTENT, std::string(prepared.content.begin(), prepared.content.end()));
    add(CONTENT_TYPE, IDR_CODES, std::string(prepared.codes.begin(), prepared.codes.end()));
    if (!prepared.accepted.empty())
        add(CONTENT_TYPE, IDR_ACCEPTED_ANSWERS, std::string(prepared.accepted.begin(), prepared.accepted.end()));
    for (auto& [id, bytes] : prepared.media)
        add(PICTURE_TYPE, id, std::move(bytes));
    return resources;
}

} // namespace

QuizBuild BuildQuiz(const std::filesystem::path& source, const std::filesystem::path& player,
                    const std::filesystem::path& output, const PreparationOptions& options,
                    const MediaProgress& progress, const std::atomic<bool>* cancel)
{
    QuizBuild build;
    std::string text;
    if (!ReadWholeFile(source, &text)) {
        build.outcome = BuildOutcome::SOURCE_UNREADABLE;
        build.error = ReadFailure(source);
        return build;
    }
    PreparedQuiz prepared = ReadQuizSource(text);
    const std::filesystem::path folder = std::filesystem::u8path(DirectoryOf(source.u8string()));

    // The player and the output are checked before the pictures, which take the time.
    std::vector<InputFile> inputs = {{source, "la source du quiz"}};
    for (InputFile& file : QuizFiles(prepared.check.quiz, folder))
        inputs.push_back(std::move(file));
    inputs.push_back({player, "le lecteur"});
    std::vector<ResourceEntry> playerResources;
    build.outcome = ReadPlayer(player, &playerResources, &build.error);
    if (build.outcome == BuildOutcome::WRITTEN && !CheckQuizOutput(output, inputs, &build.error))
        build.outcome = BuildOutcome::OUTPUT_REFUSED;
    if (build.outcome != BuildOutcome::WRITTEN) {
        build.check = std::move(prepared.check);
        return build;
    }
    const bool ready = PrepareQuizFiles(folder, options, progress, cancel, &prepared);
    build.check = prepared.check;
    if (!ready) {
        build.outcome = build.check.cancelled ? BuildOutcome::CANCELLED : BuildOutcome::SOURCE_ERRORS;
        return build;
    }
    build.outcome = BuildOutcome::NOT_WRITTEN;
    std::string playerBytes;
    if (!ReadWholeFile(player, &playerBytes)) {
        build.error = ReadFailure(player);
        return build;
    }
    const std::vector<ResourceEntry> resources = QuizResources(std::move(playerResources), prepared, &build.warnings);
    const bool replacing = KindOf(output) == PathKind::FILE;
    if (!WriteQuizExecutable(std::move(playerBytes), resources, output, &build.error)) {
        build.error += replacing ? " ; " + output.u8string() + " n'a pas été modifié" : " ; aucun quiz n'a été écrit";
        return build;
    }
    build.outcome = BuildOutcome::WRITTEN;
    return build;
}
