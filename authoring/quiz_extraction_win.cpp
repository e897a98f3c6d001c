#include "authoring/quiz_extraction_win.h"

#include <windows.h>

#include <cstdio>

#include "authoring/files_win.h"
#include "authoring/media_format.h"
#include "authoring/overwrite_guard_win.h"
#include "authoring/quiz_payload.h"
#include "authoring/quiz_writer.h"
#include "authoring/resources_win.h"
#include "content/lzw.h"
#include "resource.h"

const char EXTRACTED_MEDIA_FOLDER[] = "medias";

namespace {

const wchar_t CONTENT_TYPE[] = L"" CONTENT_RESOURCE_TYPE;
const wchar_t PICTURE_TYPE[] = L"" PICTURE_RESOURCE_TYPE;

const ResourceEntry* FindEntry(const std::vector<ResourceEntry>& resources, const wchar_t* type, WORD id)
{
    for (const ResourceEntry& entry : resources)
        if (entry.type.IsType(type) && entry.name.text.empty() && entry.name.id == id)
            return &entry;
    return nullptr;
}

// The variants and the accent option, when the quiz has them. The player plays a quiz whose copy of
// them is damaged with its stored answers only, and so does the extracted source.
void ReadAcceptedAnswers(const std::vector<ResourceEntry>& resources, QuizExtraction& extraction)
{
    const ResourceEntry* entry = FindEntry(resources, CONTENT_TYPE, IDR_ACCEPTED_ANSWERS);
    if (!entry)
        return;
    Bytes accepted;
    const int32_t result = LzwDecodeBytes(Bytes(entry->bytes.begin(), entry->bytes.end()), &accepted);
    std::string problem = result != LZW_OK ? LzwResultName(result) : std::string();
    if (problem.empty() && ReadAcceptedPayload(accepted, &extraction.quiz, &problem))
        return;
    extraction.warnings.push_back("les autres réponses acceptées ne se lisent pas (" + problem +
                                  ") : le lecteur les ignore, la source est écrite sans elles");
}

// The quiz's texts from its "PATCH" resources; false with *error when the content is unusable.
bool ReadQuiz(const std::vector<ResourceEntry>& resources, const std::string& quizName, QuizExtraction& extraction)
{
    const ResourceEntry* contentEntry = FindEntry(resources, CONTENT_TYPE, IDR_CONTENT);
    if (!contentEntry || contentEntry->bytes.empty()) {
        extraction.error = quizName + " ne contient pas de quiz (pas de ressource PATCH 104)";
        return false;
    }
    Bytes content, codes;
    const int32_t contentResult =
        LzwDecodeBytes(Bytes(contentEntry->bytes.begin(), contentEntry->bytes.end()), &content);
    if (contentResult != 0) {
        extraction.error = "le contenu du quiz ne se décode pas : " + LzwResultName(contentResult);
        return false;
    }
    if (const ResourceEntry* codesEntry = FindEntry(resources, CONTENT_TYPE, IDR_CODES)) {
        const int32_t codesResult = LzwDecodeBytes(Bytes(codesEntry->bytes.begin(), codesEntry->bytes.end()), &codes);
        if (codesResult != 0) {
            extraction.warnings.push_back("les codes ne se décodent pas (" + LzwResultName(codesResult) +
                                          ") : ils sont laissés vides");
            codes.clear();
        }
    } else {
        extraction.warnings.push_back("le quiz n'a pas de codes (ressource PATCH 105 absente)");
    }
    if (!ReadQuizPayloads(content, codes, &extraction.quiz, &extraction.error)) {
        extraction.error = "le contenu du quiz est illisible : " + extraction.error;
        return false;
    }
    ReadAcceptedAnswers(resources, extraction);
    return true;
}

// Each "IMG" resource of a question into its file, named after it in the source.
bool WriteMedia(const std::vector<ResourceEntry>& resources, const std::filesystem::path& folder,
                QuizExtraction& extraction)
{
    QuizSource& quiz = extraction.quiz;
    const std::string shownFolder = folder.u8string();
    const auto count = static_cast<WORD>(quiz.questions.size());
    for (const ResourceEntry& entry : resources) {
        if (!entry.type.IsType(PICTURE_TYPE))
            continue;
        const WORD id = entry.name.text.empty() ? entry.name.id : 0;
        const bool isQuestion = id > IDR_QUESTION_PICTURE_BASE && id <= IDR_QUESTION_PICTURE_BASE + count;
        const bool isAnswer = id > IDR_ANSWER_PICTURE_BASE && id <= IDR_ANSWER_PICTURE_BASE + count;
        if (!isQuestion && !isAnswer) {
            extraction.warnings.push_back("ressource IMG " + entry.name.Describe() + " ignorée (aucune question)");
            continue;
        }
        const int number = id - (isQuestion ? IDR_QUESTION_PICTURE_BASE : IDR_ANSWER_PICTURE_BASE);
        std::string& target =
            isQuestion ? quiz.questions[number - 1].picture : quiz.questions[number - 1].answerPicture;
        if (!target.empty())
            continue; // another language of a resource already written
        char name[64];
        std::snprintf(name, sizeof(name), "%s/%s-%02d%s", EXTRACTED_MEDIA_FOLDER, isQuestion ? "question" : "reponse",
                      number, MediaExtension(SniffMediaFormat(entry.bytes)));
        const std::filesystem::path path = std::filesystem::u8path(shownFolder + "/" + name);
        if (!CreateFolder(folder / EXTRACTED_MEDIA_FOLDER) || !WriteWholeFile(path, entry.bytes)) {
            extraction.error = WriteFailure(path);
            return false;
        }
        target = name;
        ++extraction.filesWritten;
    }
    return true;
}

} // namespace

QuizExtraction ExtractQuiz(const std::filesystem::path& quiz, const std::filesystem::path& folder, bool force)
{
    QuizExtraction extraction;
    std::vector<ResourceEntry> resources;
    if (!ReadModuleResources(quiz, &resources, &extraction.error) || !ReadQuiz(resources, quiz.u8string(), extraction))
        return extraction;
    if (!PrepareExtractFolder(folder, EXTRACTED_MEDIA_FOLDER, force, &extraction.error))
        return extraction;
    if (!CreateFolder(folder)) {
        extraction.error = "impossible de créer le dossier " + folder.u8string() + " (" + LastSystemError() + ")";
        return extraction;
    }
    if (!WriteMedia(resources, folder, extraction))
        return extraction;
    const std::filesystem::path source = std::filesystem::u8path(folder.u8string() + "/quiz.toml");
    if (!WriteWholeFile(source, WriteQuizSource(extraction.quiz))) {
        extraction.error = WriteFailure(source);
        return extraction;
    }
    extraction.ok = true;
    return extraction;
}
