// Checking a quiz source and making its pictures and clips ready for the player: what check and
// build do, and what an editor does to the source it holds. Every function may run on a worker
// thread; pictures are converted on threads of their own, which initialise COM for themselves.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "authoring/media_format.h"
#include "authoring/overwrite_guard_win.h"
#include "authoring/quiz_payload.h"
#include "authoring/quiz_source.h"

struct PreparationOptions {
    bool keepPictures = false; // store pictures as given, unless the player cannot read their format
    unsigned jobs = 0;         // pictures converted at once; 0 for one per processor
};

// Called on the calling thread, in question order, once for each picture or clip: how many are
// done, out of how many, and the line build prints for it ("Image 2/6 : images/paris.png (…)"),
// empty for one whose problem is among the diagnostics.
using MediaProgress = std::function<void(size_t done, size_t total, const std::string& line)>;

// What checking a picture or clip file gave, its bytes aside.
struct MediaFacts {
    MediaFormat format = MediaFormat::UNKNOWN;
    std::string pictureError; // why a picture cannot be used, in French; "" for a good one
    PixelSize original = {0, 0};
    PixelSize stored = {0, 0};
    PictureAction action = PictureAction::KEEP;
};

// What checking each file gave, kept by an editor between checks of the source it holds, so that a
// picture is decoded again only when its file changed (its size or the time of its last write).
// One check at a time may use it.
struct MediaCheckCache {
    struct Entry {
        unsigned long long size;
        unsigned long long writeTime;
        bool asClip;
        bool keepPictures;
        MediaFacts facts;
    };
    std::map<std::filesystem::path, Entry> files;
};

struct QuizCheck {
    QuizSource quiz;
    std::vector<Diagnostic> diagnostics; // in the order check prints them, each with its place
    size_t errors = 0;
    size_t warnings = 0;
    size_t mediaReady = 0;  // pictures and clips the quiz would carry
    size_t contentSize = 0; // decoded bytes of the content (at most 65,535); 0 when it cannot be made
    bool cancelled = false;
};

// A source held in memory (the bytes its file would hold; folder: where its relative file names
// start) checked as `zelbo-pack check` checks its file: the same diagnostics in the same order,
// from its text, the width of the texts the player shows, its picture and clip files and its
// content. progress may be empty; cancel, when given, is read between pictures, and a cancelled
// check holds what was found until then. cache, when given, spares decoding the files that have not
// changed since they were last checked through it.
QuizCheck CheckQuizSource(const std::string& sourceBytes, const std::filesystem::path& folder,
                          const PreparationOptions& options, const MediaProgress& progress,
                          const std::atomic<bool>* cancel, MediaCheckCache* cache);

// "3 questions, 5 images ou clips, 1 avertissement": what check and build say of a quiz they found
// without errors.
std::string CheckSummary(const QuizCheck& check);

// A quiz made ready for a copy of the player: its check and what its resources will hold.
struct PreparedQuiz {
    QuizCheck check;
    Bytes content;                                       // compressed: resource "PATCH" 104
    Bytes codes;                                         // compressed: resource "PATCH" 105
    Bytes accepted;                                      // compressed: resource "PATCH" 106; empty: none
    std::vector<std::pair<uint16_t, std::string>> media; // resources "IMG": id and bytes, in question order
};

// The two halves of a check, for build, which looks at the player and the output between them: the
// source's text (with the width of its shown texts), then its files and its content, kept ready.
// The second is true when the whole quiz holds no error and the check was not cancelled.
PreparedQuiz ReadQuizSource(const std::string& sourceBytes);
bool PrepareQuizFiles(const std::filesystem::path& folder, const PreparationOptions& options,
                      const MediaProgress& progress, const std::atomic<bool>* cancel, PreparedQuiz* prepared);

// The picture and clip files a quiz names, as paths from folder, with their role for messages.
std::vector<InputFile> QuizFiles(const QuizSource& quiz, const std::filesystem::path& folder);
