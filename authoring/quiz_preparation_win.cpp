#include "authoring/quiz_preparation_win.h"

#include "authoring/files_win.h"
#include "authoring/parallel_win.h"
#include "authoring/paths.h"
#include "authoring/pictures_win.h"
#include "authoring/shown_texts_win.h"
#include "authoring/wording.h"
#include "content/lzw.h"
#include "platform/threads_win.h"
#include "resource.h"

namespace {

// One picture or clip the quiz carries, with where it comes from for messages.
struct MediaItem {
    uint16_t resourceId;
    std::string fileName; // as written in the source
    int line;
    SourcePlace place;
    bool isClip;
};

// One file read and checked, or the problem that stopped it.
struct CheckedMedia {
    bool read = false;    // facts (and, unless taken from a cache, bytes) are known
    bool skipped = false; // the check was cancelled before it was reached
    bool cached = false;
    unsigned long long size = 0;
    unsigned long long writeTime = 0;
    bool stamped = false; // size and writeTime were read before the file
    MediaFacts facts;
    std::string bytes;
    Diagnostic problem;
};

std::vector<MediaItem> ListMedia(const QuizSource& quiz)
{
    std::vector<MediaItem> items;
    const bool clips = quiz.mediaKind == MEDIA_AUDIO || quiz.mediaKind == MEDIA_VIDEO;
    for (size_t i = 0; i < quiz.questions.size(); ++i) {
        const SourceQuestion& question = quiz.questions[i];
        const auto number = static_cast<uint16_t>(i + 1);
        if (!question.picture.empty())
            items.push_back({static_cast<uint16_t>(IDR_QUESTION_PICTURE_BASE + number),
                             question.picture,
                             question.pictureLine,
                             {number, SourceField::PICTURE, 0},
                             clips});
        if (!question.answerPicture.empty())
            items.push_back({static_cast<uint16_t>(IDR_ANSWER_PICTURE_BASE + number),
                             question.answerPicture,
                             question.answerPictureLine,
                             {number, SourceField::ANSWER_PICTURE, 0},
                             false});
    }
    return items;
}

std::filesystem::path PathOf(const std::filesystem::path& folder, const MediaItem& item)
{
    return folder / std::filesystem::u8path(item.fileName);
}

std::string SizeText(PixelSize size)
{
    return std::to_string(size.width) + " × " + std::to_string(size.height);
}

// Touches nothing but its result, so that several files are read and checked at once.
CheckedMedia CheckMedia(const MediaItem& item, const std::filesystem::path& path, const std::string& shownPath,
                        bool keepPictures)
{
    CheckedMedia media;
    if (!ReadWholeFile(path, &media.bytes)) {
        media.problem = {false, item.line, shownPath + " : " + ReadProblem(path), 0, item.place};
        return media;
    }
    media.read = true;
    media.size = media.bytes.size();
    media.facts.format = SniffMediaFormat(media.bytes);
    if (item.isClip)
        return media;
    PreparedPicture picture;
    if (!PreparePicture(media.bytes, keepPictures, &picture, &media.facts.pictureError))
        return media;
    media.facts.original = picture.original;
    media.facts.stored = picture.stored;
    media.facts.action = picture.action;
    media.bytes = std::move(picture.bytes);
    return media;
}

// The line that reports a file made ready, or "" with *problem set for one that cannot be used.
std::string Verdict(const MediaItem& item, const CheckedMedia& media, int32_t kind, size_t number, size_t total,
                    Diagnostic* problem)
{
    const MediaFacts& facts = media.facts;
    const std::string line = (item.isClip ? "Clip " : "Image ") + std::to_string(number) + "/" + std::to_string(total) +
                             " : " + item.fileName;
    if (item.isClip) {
        const bool audio = kind == MEDIA_AUDIO;
        if (facts.format != (audio ? MediaFormat::MP3 : MediaFormat::AVI)) {
            *problem = {false, item.line,
                        item.fileName + (audio ? " n'est pas un fichier MP3 (ni en-tête ID3 ni trame MPEG audio)"
                                               : " n'est pas une vidéo AVI (en-tête RIFF AVI absent)"),
                        0, item.place};
            return {};
        }
        return line + " (" + Plural(media.size, "octet") + ")";
    }
    if (!facts.pictureError.empty()) {
        *problem = {false, item.line, item.fileName + " : " + facts.pictureError, 0, item.place};
        return {};
    }
    switch (facts.action) {
    case PictureAction::KEEP:
        return line + " (" + SizeText(facts.original) + ", gardée telle quelle)";
    case PictureAction::REENCODE:
        return line + " (" + SizeText(facts.original) + ", convertie en JPEG)";
    case PictureAction::SCALE:
        break;
    }
    return line + " (" + SizeText(facts.original) + " → " + SizeText(facts.stored) + ", réduite en JPEG)";
}

// Counted as it is added: check ends with the number of errors.
void Report(QuizCheck& check, const Diagnostic& diagnostic)
{
    ++(diagnostic.warning ? check.warnings : check.errors);
    check.diagnostics.push_back(diagnostic);
}

// A file whose stamp has not changed since the cache saw it as the same kind of item.
bool TakeFromCache(const MediaCheckCache& cache, const std::filesystem::path& path, const MediaItem& item,
                   bool keepPictures, CheckedMedia* media)
{
    media->stamped = FileStamp(path, &media->size, &media->writeTime);
    const auto found = cache.files.find(path);
    if (!media->stamped || found == cache.files.end())
        return false;
    const MediaCheckCache::Entry& entry = found->second;
    if (entry.size != media->size || entry.writeTime != media->writeTime || entry.asClip != item.isClip ||
        (!item.isClip && entry.keepPictures != keepPictures))
        return false;
    media->read = media->cached = true;
    media->facts = entry.facts;
    return true;
}

void Remember(MediaCheckCache& cache, const std::filesystem::path& path, const MediaItem& item, bool keepPictures,
              const CheckedMedia& media)
{
    if (media.read && media.stamped && !media.cached)
        cache.files[path] = {media.size, media.writeTime, item.isClip, keepPictures, media.facts};
}

bool EncodePayloads(PreparedQuiz* prepared)
{
    QuizPayloads payloads;
    Bytes accepted;
    std::string error;
    if (!MakeQuizPayloads(prepared->check.quiz, &payloads, &error) ||
        !MakeAcceptedPayload(prepared->check.quiz, &accepted, &error)) {
        Report(prepared->check, {false, 0, error});
        return false;
    }
    int32_t result = LzwEncodeBytes(payloads.content, &prepared->content);
    if (result == LZW_OK)
        result = LzwEncodeBytes(payloads.codes, &prepared->codes);
    if (result == LZW_OK && !accepted.empty())
        result = LzwEncodeBytes(accepted, &prepared->accepted);
    if (result != LZW_OK) {
        Report(prepared->check, {false, 0, "la compression du contenu a échoué (" + LzwResultName(result) + ")"});
        return false;
    }
    return true;
}

size_t ContentSize(const QuizSource& quiz)
{
    QuizPayloads payloads;
    std::string error;
    return MakeQuizPayloads(quiz, &payloads, &error) ? payloads.content.size() : 0;
}

// The files checked on every core, their verdicts taken in question order; bytes kept for build.
bool PrepareFiles(const std::filesystem::path& folder, const PreparationOptions& options, const MediaProgress& progress,
                  const std::atomic<bool>* cancel, MediaCheckCache* cache, bool keepBytes, PreparedQuiz* prepared)
{
    QuizCheck& check = prepared->check;
    const std::vector<MediaItem> items = ListMedia(check.quiz);
    const std::string shownFolder = folder.u8string();
    size_t clipCount = 0;
    for (const MediaItem& item : items)
        clipCount += item.isClip;
    std::vector<size_t> numbers;
    size_t clipNumber = 0, pictureNumber = 0;
    for (const MediaItem& item : items)
        numbers.push_back(item.isClip ? ++clipNumber : ++pictureNumber);

    // The cache is read here, before any worker starts, and written as each verdict comes in.
    std::vector<CheckedMedia> results(items.size());
    for (size_t i = 0; cache && i < items.size(); ++i)
        TakeFromCache(*cache, PathOf(folder, items[i]), items[i], options.keepPictures, &results[i]);
    RunInOrder(
        items.size(), options.jobs > 0 ? options.jobs : ProcessorCount(),
        [&](size_t i) {
            if (results[i].cached)
                return;
            if (cancel && cancel->load()) {
                results[i].skipped = true;
                return;
            }
            CheckedMedia checked = CheckMedia(items[i], PathOf(folder, items[i]),
                                              ResolvePath(shownFolder, items[i].fileName), options.keepPictures);
            checked.stamped = results[i].stamped;
            checked.writeTime = results[i].writeTime;
            results[i] = std::move(checked);
        },
        [&](size_t i) {
            CheckedMedia& media = results[i];
            if (media.skipped) {
                check.cancelled = true;
                return;
            }
            std::string line;
            if (media.read) {
                line = Verdict(items[i], media, check.quiz.mediaKind, numbers[i],
                               items[i].isClip ? clipCount : items.size() - clipCount, &media.problem);
                if (cache)
                    Remember(*cache, PathOf(folder, items[i]), items[i], options.keepPictures, media);
            }
            if (line.empty()) {
                Report(check, media.problem);
            } else {
                ++check.mediaReady;
                if (keepBytes)
                    prepared->media.emplace_back(items[i].resourceId, std::move(media.bytes));
            }
            if (progress)
                progress(i + 1, items.size(), line);
        });
    const bool ok = !check.cancelled && check.errors == 0 && EncodePayloads(prepared);
    SortByLine(check.diagnostics);
    return ok;
}

} // namespace

PreparedQuiz ReadQuizSource(const std::string& sourceBytes)
{
    PreparedQuiz prepared;
    QuizCheck& check = prepared.check;
    SourceParse parse = ParseQuizSource(sourceBytes);
    for (const Diagnostic& diagnostic : parse.diagnostics)
        Report(check, diagnostic);
    for (const Diagnostic& diagnostic : CheckShownTexts(parse.shownTexts))
        Report(check, diagnostic);
    SortByLine(check.diagnostics);
    check.quiz = std::move(parse.quiz);
    check.contentSize = ContentSize(check.quiz);
    return prepared;
}

bool PrepareQuizFiles(const std::filesystem::path& folder, const PreparationOptions& options,
                      const MediaProgress& progress, const std::atomic<bool>* cancel, PreparedQuiz* prepared)
{
    return PrepareFiles(folder, options, progress, cancel, nullptr, true, prepared);
}

QuizCheck CheckQuizSource(const std::string& sourceBytes, const std::filesystem::path& folder,
                          const PreparationOptions& options, const MediaProgress& progress,
                          const std::atomic<bool>* cancel, MediaCheckCache* cache)
{
    PreparedQuiz prepared = ReadQuizSource(sourceBytes);
    PrepareFiles(folder, options, progress, cancel, cache, false, &prepared);
    return std::move(prepared.check);
}

std::string CheckSummary(const QuizCheck& check)
{
    const size_t media = check.mediaReady;
    std::string summary = Plural(check.quiz.questions.size(), "question") + ", " + std::to_string(media) +
                          (media > 1 ? " images ou clips" : " image ou clip");
    if (check.warnings)
        summary += ", " + Plural(check.warnings, "avertissement");
    return summary;
}

std::vector<InputFile> QuizFiles(const QuizSource& quiz, const std::filesystem::path& folder)
{
    std::vector<InputFile> files;
    for (const MediaItem& item : ListMedia(quiz))
        files.push_back({PathOf(folder, item), item.isClip ? "un clip du quiz" : "une image du quiz"});
    return files;
}
