#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "content/content_format.h"
#include "content/content_loader_win.h"
#include "content/lzw.h"
#include "content/quiz_data_win.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "tests/content/built_in_quiz.h"
#include "win_test_support.h"

namespace {

constexpr int IDR_RESOURCE_HOST = 2001;

const char CONTENT_DECODE_FAILED[] = "Erreur dans le d\xE9"
                                     "cryptage des reponses";

// A text quiz with one answer box and no reveal texts, to be encoded at run time.
std::unique_ptr<QuizContent> OneAnswerQuiz()
{
    auto content = std::make_unique<QuizContent>();
    ClearQuizContent(content.get());
    content->mediaKind = MEDIA_TEXT;
    content->questionCount = 2;
    content->answersPerQuestion = 1;
    content->revealMode = REVEAL_PICTURE;
    content->red = 10;
    content->green = 20;
    content->blue = 30;
    std::strcpy(content->title, "Capitales");
    std::strcpy(content->questions[0].answer1, "PARIS");
    std::strcpy(content->questions[0].questionText, "France");
    std::strcpy(content->questions[1].answer1, "ROME");
    std::strcpy(content->questions[1].questionText, "Italie");
    return content;
}

std::string Encode(const std::vector<unsigned char>& bytes)
{
    unsigned char* stream = nullptr;
    int32_t streamLength = 0;
    const int32_t result = LzwEncode(bytes.data(), static_cast<int32_t>(bytes.size()), &stream, &streamLength);
    std::string encoded;
    if (result == LZW_OK)
        encoded.assign(reinterpret_cast<const char*>(stream), static_cast<size_t>(streamLength - 1));
    std::free(stream);
    EXPECT_EQ(result, LZW_OK);
    return encoded;
}

std::string EncodedContent(const QuizContent& content)
{
    std::vector<unsigned char> bytes;
    EXPECT_EQ(WriteQuizContent(content, &bytes), CONTENT_OK);
    return Encode(bytes);
}

std::string EncodedCodes(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return Encode(std::vector<unsigned char>(text.begin(), text.end()));
}

// A stream whose second code (0x1FF) lies above the next free code: the decoder refuses it.
const std::string BAD_STREAM("\x30\xFF\xC0", 3);
// "abc" cut before its end code: the decoder runs out of input.
const std::string CUT_STREAM("\x30\x98", 2);

std::string OwnResourceBytes(int id, const char* type)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!resource)
        return {};
    const void* data = LockResource(LoadResource(nullptr, resource));
    return std::string(static_cast<const char*>(data), SizeofResource(nullptr, resource));
}

struct PatchResource {
    int id;
    std::string bytes; // empty: a resource of size 0
};

// The language-neutral data entry of "PATCH" resource id in a PE image, or null.
IMAGE_RESOURCE_DATA_ENTRY* FindDataEntry(std::string& image, int id)
{
    auto* base = reinterpret_cast<unsigned char*>(&image[0]);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const DWORD rsrcRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    unsigned char* rsrc = nullptr;
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (rsrcRva >= section->VirtualAddress && rsrcRva < section->VirtualAddress + section->Misc.VirtualSize)
            rsrc = base + section->PointerToRawData + (rsrcRva - section->VirtualAddress);
    }
    if (!rsrc)
        return nullptr;
    // Each level is a directory followed by its named entries, then its id entries.
    auto entries = [](unsigned char* directory) {
        return reinterpret_cast<IMAGE_RESOURCE_DIRECTORY_ENTRY*>(directory + sizeof(IMAGE_RESOURCE_DIRECTORY));
    };
    auto count = [](unsigned char* directory) {
        const auto* header = reinterpret_cast<IMAGE_RESOURCE_DIRECTORY*>(directory);
        return header->NumberOfNamedEntries + header->NumberOfIdEntries;
    };
    unsigned char* typeDirectory = nullptr;
    for (int i = 0; i < count(rsrc); ++i) {
        const IMAGE_RESOURCE_DIRECTORY_ENTRY& entry = entries(rsrc)[i];
        if (!entry.NameIsString)
            continue;
        const auto* name = reinterpret_cast<const IMAGE_RESOURCE_DIR_STRING_U*>(rsrc + entry.NameOffset);
        if (std::wstring(name->NameString, name->Length) == L"PATCH")
            typeDirectory = rsrc + entry.OffsetToDirectory;
    }
    if (!typeDirectory)
        return nullptr;
    for (int i = 0; i < count(typeDirectory); ++i) {
        const IMAGE_RESOURCE_DIRECTORY_ENTRY& entry = entries(typeDirectory)[i];
        if (entry.NameIsString || entry.Id != id)
            continue;
        unsigned char* languages = rsrc + entry.OffsetToDirectory;
        return reinterpret_cast<IMAGE_RESOURCE_DATA_ENTRY*>(rsrc + entries(languages)[0].OffsetToData);
    }
    return nullptr;
}

// Copies the empty DLL this program carries and gives it exactly the resources listed. The resource
// updater refuses 0 bytes, so an empty resource is written as one byte and its size set to 0 after.
std::string MakeModule(const std::string& path, const std::vector<PatchResource>& resources)
{
    WriteFileBytes(path, OwnResourceBytes(IDR_RESOURCE_HOST, MAKEINTRESOURCEA(10)));
    HANDLE update = BeginUpdateResourceA(path.c_str(), TRUE);
    EXPECT_TRUE(update != nullptr);
    for (const PatchResource& resource : resources) {
        static char oneByte = 0;
        const bool empty = resource.bytes.empty();
        EXPECT_TRUE(UpdateResourceA(update, "PATCH", MAKEINTRESOURCEA(resource.id),
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                    empty ? &oneByte : const_cast<char*>(resource.bytes.data()),
                                    empty ? 1 : static_cast<DWORD>(resource.bytes.size())));
    }
    EXPECT_TRUE(EndUpdateResourceA(update, FALSE));

    std::string image = ReadFileBytes(path);
    for (const PatchResource& resource : resources) {
        if (!resource.bytes.empty())
            continue;
        IMAGE_RESOURCE_DATA_ENTRY* entry = FindDataEntry(image, resource.id);
        EXPECT_TRUE(entry != nullptr) << resource.id;
        if (entry)
            entry->Size = 0;
    }
    WriteFileBytes(path, image);
    return path;
}

// Opens a made module as data and checks that it holds exactly what was written.
UniqueModule OpenModule(const std::string& path, const std::vector<PatchResource>& resources)
{
    UniqueModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(module);
    for (const PatchResource& resource : resources) {
        HRSRC found = FindResourceA(module.Get(), MAKEINTRESOURCEA(resource.id), "PATCH");
        EXPECT_TRUE(found != nullptr) << resource.id;
        if (!found)
            continue;
        const DWORD size = SizeofResource(module.Get(), found);
        EXPECT_EQ(size, resource.bytes.size()) << resource.id;
        if (size && size == resource.bytes.size()) {
            const void* data = LockResource(LoadResource(module.Get(), found));
            EXPECT_EQ(std::memcmp(data, resource.bytes.data(), size), 0) << resource.id;
        }
    }
    return module;
}

COLORREF BrushColour(HBRUSH brush)
{
    LOGBRUSH description = {};
    GetObjectA(brush, sizeof(description), &description);
    return description.lbColor;
}

void ExpectQuizHolds(const QuizData& quiz, const QuizContent& content)
{
    EXPECT_EQ(quiz.mediaKind, content.mediaKind);
    EXPECT_EQ(quiz.questionCount, content.questionCount);
    EXPECT_EQ(quiz.answersPerQuestion, content.answersPerQuestion);
    EXPECT_EQ(quiz.revealMode, content.revealMode);
    EXPECT_STREQ(quiz.title, content.title);
    EXPECT_STREQ(quiz.creator, content.creator);
    EXPECT_STREQ(quiz.explanation, content.explanation);
    EXPECT_STREQ(quiz.answerLabel1, content.answerLabel1);
    EXPECT_STREQ(quiz.answerLabel2, content.answerLabel2);
    int nodes = 0;
    for (const QuestionNode* node = quiz.questionHead; node; node = node->next) {
        ASSERT_LT(nodes, content.questionCount);
        const QuestionContent& question = content.questions[nodes];
        EXPECT_STREQ(node->answer1, question.answer1) << nodes;
        EXPECT_STREQ(node->answer2, question.answer2) << nodes;
        EXPECT_STREQ(node->questionText, question.questionText) << nodes;
        EXPECT_STREQ(node->revealText, question.revealText) << nodes;
        ++nodes;
    }
    EXPECT_EQ(nodes, content.questionCount);
    EXPECT_EQ(quiz.backgroundRed, content.red);
    EXPECT_EQ(quiz.backgroundGreen, content.green);
    EXPECT_EQ(quiz.backgroundBlue, content.blue);
    const COLORREF colour = RGB(content.red, content.green, content.blue);
    EXPECT_EQ(quiz.backgroundColor, colour);
    EXPECT_EQ(BrushColour(quiz.backgroundBrush), colour);
}

void ExpectAsConstructed(const QuizData& quiz)
{
    EXPECT_STREQ(quiz.title, "nom du zelbo");
    EXPECT_STREQ(quiz.creator, " createur");
    EXPECT_EQ(quiz.questionCount, 2);
    EXPECT_EQ(quiz.answersPerQuestion, 1);
    EXPECT_EQ(quiz.mediaKind, 0);
    EXPECT_EQ(quiz.revealMode, 0);
    EXPECT_TRUE(quiz.questionHead == nullptr);
    EXPECT_TRUE(quiz.questionTail == nullptr);
    EXPECT_EQ(quiz.backgroundColor, 0x00965F5Au);
    EXPECT_EQ(BrushColour(quiz.backgroundBrush), 0x00965F5Au);
}

void ExpectSampleQuiz(const QuizData& quiz)
{
    EXPECT_STREQ(quiz.title, "Nom du zelbo");
    EXPECT_EQ(quiz.questionCount, 7);
    EXPECT_EQ(quiz.answersPerQuestion, 2);
    ASSERT_TRUE(quiz.questionHead != nullptr);
    EXPECT_EQ(quiz.questionHead->next, quiz.questionTail);
    EXPECT_EQ(quiz.backgroundColor, 0x00A3CB35u);
}

void ExpectCodes(const QuizData& quiz, const std::vector<std::string>& codes)
{
    for (int i = 0; i < MAX_QUESTIONS; ++i) {
        const std::string expected = i < static_cast<int>(codes.size()) ? codes[i] : "";
        EXPECT_EQ(std::string(quiz.codes[i]), expected) << i;
    }
}

std::vector<std::string> MessageTexts()
{
    std::vector<std::string> texts;
    for (const RecordedMessage& message : RecordedMessages())
        texts.push_back(message.text);
    return texts;
}

void ExpectCaptionsAreZelbo()
{
    for (const RecordedMessage& message : RecordedMessages())
        EXPECT_EQ(message.caption, "Zelbo") << message.text;
}

} // namespace

TEST(ContentLoader, ProgramLoadsItsOwnContentAndCodes)
{
    ClearRecordedMessages();
    QuizData quiz;
    quiz.secondAnswerOptional = 0;
    quiz.LoadContent();
    EXPECT_TRUE(RecordedMessages().empty());
    ExpectQuizHolds(quiz, *BuiltInQuiz());
    ExpectCodes(quiz, {"CODE-UN", "", "CODE-TROIS"});
    EXPECT_EQ(quiz.secondAnswerOptional, 1);
    // The colour bytes 0x35 0xCB 0xA3 give the same COLORREF as the sample quiz's colour.
    EXPECT_EQ(quiz.backgroundColor, 0x00A3CB35u);
}

TEST(ContentLoader, EachResourceStateGivesItsRecordAndMessages)
{
    enum class Expect { Sample, Constructed, OneAnswerQuiz };
    const std::string good = EncodedContent(*OneAnswerQuiz());
    const std::string codes = EncodedCodes({"ROUGE", "VERT", "BLEU"});
    auto tooManyQuestions = OneAnswerQuiz();
    tooManyQuestions->questionCount = 96;
    std::vector<unsigned char> refused;
    ASSERT_EQ(WriteQuizContent(*tooManyQuestions, &refused), CONTENT_OK);
    refused[2] = 97;
    const std::string tooMany = Encode(refused);

    struct Case {
        const char* name;
        std::vector<PatchResource> resources;
        Expect expect;
        std::vector<std::string> messages;
        std::vector<std::string> codes;
    } cases[] = {
        {"no content: the codes are not even read", {{IDR_CODES, codes}}, Expect::Sample, {}, {}},
        {"empty content", {{IDR_CONTENT, ""}, {IDR_CODES, codes}}, Expect::Sample, {}, {}},
        {"content and codes", {{IDR_CONTENT, good}, {IDR_CODES, codes}}, Expect::OneAnswerQuiz, {}, {"ROUGE", "VERT"}},
        {"codes missing", {{IDR_CONTENT, good}}, Expect::OneAnswerQuiz, {"Codes non trouv\xE9s."}, {}},
        {"codes empty",
         {{IDR_CONTENT, good}, {IDR_CODES, ""}},
         Expect::OneAnswerQuiz,
         {"Codes non renseign\xE9s."},
         {}},
        {"codes do not decode",
         {{IDR_CONTENT, good}, {IDR_CODES, BAD_STREAM}},
         Expect::OneAnswerQuiz,
         {"Erreur dans le d\xE9"
          "cryptage des codes"},
         {}},
        {"content does not decode",
         {{IDR_CONTENT, BAD_STREAM}, {IDR_CODES, codes}},
         Expect::Constructed,
         {CONTENT_DECODE_FAILED},
         {}},
        {"content stream cut short",
         {{IDR_CONTENT, CUT_STREAM}, {IDR_CODES, codes}},
         Expect::Constructed,
         {CONTENT_DECODE_FAILED},
         {}},
        {"content decodes but lies outside the format",
         {{IDR_CONTENT, tooMany}, {IDR_CODES, codes}},
         Expect::Constructed,
         {CONTENT_DECODE_FAILED},
         {}},
    };

    ScopedTempDirectory folder;
    int made = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = MakeModule(folder.Path() + "\\quiz" + std::to_string(++made) + ".dll", c.resources);
        UniqueModule module = OpenModule(path, c.resources);
        ASSERT_TRUE(module);

        ClearRecordedMessages();
        QuizData quiz;
        LoadContentFromModule(quiz, module.Get());
        EXPECT_EQ(MessageTexts(), c.messages);
        ExpectCaptionsAreZelbo();
        switch (c.expect) {
        case Expect::Sample:
            ExpectSampleQuiz(quiz);
            break;
        case Expect::Constructed:
            ExpectAsConstructed(quiz);
            break;
        case Expect::OneAnswerQuiz:
            ExpectQuizHolds(quiz, *OneAnswerQuiz());
            break;
        }
        ExpectCodes(quiz, c.codes);
    }
}

TEST(ContentLoader, DecoderOutOfMemoryShowsBothMessages)
{
    ScopedTempDirectory folder;
    const std::vector<PatchResource> resources = {{IDR_CONTENT, EncodedContent(*OneAnswerQuiz())}};
    const std::string path = MakeModule(folder.Path() + "\\quiz.dll", resources);
    UniqueModule module = OpenModule(path, resources);
    ASSERT_TRUE(module);

    ClearRecordedMessages();
    LzwSetAllocator([](size_t) -> void* { return nullptr; });
    QuizData quiz;
    LoadContentFromModule(quiz, module.Get());
    LzwSetAllocator(nullptr);

    ASSERT_EQ(RecordedMessages().size(), 2u);
    EXPECT_EQ(RecordedMessages()[0].text, "Impossible d'allouer la memoire");
    EXPECT_EQ(RecordedMessages()[0].caption, "information");
    EXPECT_EQ(RecordedMessages()[1].text, CONTENT_DECODE_FAILED);
    EXPECT_EQ(RecordedMessages()[1].caption, "Zelbo");
    ExpectAsConstructed(quiz);
}
