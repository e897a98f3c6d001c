#include "board/picture_loading_win.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "board/picture_win.h"
#include "content/quiz_limits.h"
#include "platform/threads_win.h"
#include "platform/win_raii.h"
#include "resource.h"

namespace {

// Each worker holds a whole decoded photo while it works: more threads than this would cost more
// memory than they save time.
constexpr size_t MAX_THREADS = 8;

int g_threadCount = -1;

size_t ThreadLimit()
{
    if (g_threadCount >= 0)
        return std::min(static_cast<size_t>(g_threadCount), MAX_THREADS);
    return std::min(static_cast<size_t>(ProcessorCount()), MAX_THREADS);
}

bool IsAnswerPicture(int resourceId)
{
    return resourceId > IDR_ANSWER_PICTURE_BASE;
}

// Only a bitmap picture control shows pictures: in an audio or video quiz the id belongs to the
// frame that hosts the player.
HWND PictureControl(HWND board, int question)
{
    HWND control = GetDlgItem(board, IDC_PICTURE_BASE + question);
    if (!control || (GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
        return nullptr;
    return control;
}

// An answer picture replaces whatever the control shows; a question picture never replaces an
// answer picture that was decoded first.
void Install(HWND board, int question, int resourceId, UniqueBitmap picture)
{
    HWND control = PictureControl(board, question);
    if (!control)
        return;
    auto shown = reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (shown && !IsAnswerPicture(resourceId))
        return;
    ShowPicture(control, picture.Detach());
}

struct Band {
    int top;
    int bottom;
};

// How far a band lies from the view: 0 when they overlap, otherwise the gap plus one.
int DistanceFromView(const Band& band, const Band& view)
{
    if (band.bottom <= view.top)
        return view.top - band.bottom + 1;
    if (band.top >= view.bottom)
        return band.top - view.bottom + 1;
    return 0;
}

enum class JobState { PENDING, RUNNING, DONE };

struct PictureJob {
    int question;
    int resourceIds[2]; // tried in turn; 0 when there is no second
    Band band;          // where the control lies on the board, in unscrolled coordinates
    JobState state;
    int decodedId;
    UniqueBitmap picture;
};

struct DecodedPicture {
    int question;
    int resourceId;
    UniqueBitmap picture;
};

class PictureLoader {
public:
    PictureLoader(HWND board, size_t threadLimit)
        : m_board(board), m_module(GetModuleHandleW(nullptr)), m_threadLimit(threadLimit)
    {
    }

    ~PictureLoader()
    {
        {
            ExclusiveLock lock(&m_lock);
            m_cancel = true;
        }
        WakeAllConditionVariable(&m_changed);
        for (const UniqueKernelHandle& thread : m_threads)
            WaitForSingleObject(thread.Get(), INFINITE);
    }

    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    HWND Board() const { return m_board; }
    bool Building() const { return m_building; }
    bool HasWorkers() const { return !m_threads.empty(); }

    void EndBuilding()
    {
        {
            ExclusiveLock lock(&m_lock);
            m_building = false;
        }
        WakeAllConditionVariable(&m_changed);
    }

    void Queue(int question, int firstId, int secondId, Band band)
    {
        {
            ExclusiveLock lock(&m_lock);
            m_jobs.push_back({question, {firstId, secondId}, band, JobState::PENDING, 0, {}});
            ++m_pending;
        }
        WakeConditionVariable(&m_changed);
        AddWorkerIfUseful();
    }

    // A question picture still waiting for its turn tries the answer picture first; false when
    // there is none.
    bool PutAnswerFirst(int question, int answerId)
    {
        ExclusiveLock lock(&m_lock);
        for (PictureJob& job : m_jobs) {
            if (job.question == question && job.state == JobState::PENDING && !IsAnswerPicture(job.resourceIds[0])) {
                job.resourceIds[1] = job.resourceIds[0];
                job.resourceIds[0] = answerId;
                return true;
            }
        }
        return false;
    }

    // Question q's waiting jobs are not decoded: what they would show is no longer wanted.
    void DropWaiting(int question)
    {
        ExclusiveLock lock(&m_lock);
        for (PictureJob& job : m_jobs) {
            if (job.question == question && job.state == JobState::PENDING) {
                job.state = JobState::DONE;
                --m_pending;
            }
        }
    }

    void SetView(Band view)
    {
        ExclusiveLock lock(&m_lock);
        m_view = view;
    }

    // Decodes on the calling thread, beside the workers, what is in view (or everything) and is
    // still waiting, then waits for the workers' jobs of the same kind.
    void DecodeHere(bool everything)
    {
        ScopedComInit com;
        std::unique_ptr<PictureDecoder> decoder;
        ExclusiveLock lock(&m_lock);
        for (;;) {
            const int next = NearestWaiting(everything);
            if (next >= 0) {
                if (!decoder)
                    decoder = std::make_unique<PictureDecoder>();
                Run(static_cast<size_t>(next), *decoder, lock);
            } else if (AnyRunning(everything)) {
                SleepConditionVariableSRW(&m_changed, &m_lock, INFINITE, 0);
            } else {
                return;
            }
        }
    }

    std::vector<DecodedPicture> TakeDecoded()
    {
        std::vector<DecodedPicture> decoded;
        ExclusiveLock lock(&m_lock);
        for (PictureJob& job : m_jobs) {
            if (job.state == JobState::DONE && job.picture)
                decoded.push_back({job.question, job.decodedId, std::move(job.picture)});
        }
        m_notified = false;
        return decoded;
    }

private:
    static DWORD WINAPI WorkerMain(void* loader)
    {
        static_cast<PictureLoader*>(loader)->Work();
        return 0;
    }

    void Work()
    {
        // Workers join the multithreaded apartment: they pump no messages.
        const ScopedComInit com(COINIT_MULTITHREADED);
        PictureDecoder decoder;
        ExclusiveLock lock(&m_lock);
        for (;;) {
            // While the board is being built, its thread needs the processor more than the pictures
            // out of view do.
            int next = -1;
            while (!m_cancel && (next = NearestWaiting(!m_building)) < 0)
                SleepConditionVariableSRW(&m_changed, &m_lock, INFINITE, 0);
            if (m_cancel)
                return;
            Run(static_cast<size_t>(next), decoder, lock);
        }
    }

    // One worker per waiting job, up to the limit.
    void AddWorkerIfUseful()
    {
        ExclusiveLock lock(&m_lock);
        if (m_threads.size() >= m_threadLimit || m_threads.size() >= m_pending + m_running)
            return;
        UniqueKernelHandle thread(CreateThread(nullptr, 0, WorkerMain, this, 0, nullptr));
        if (!thread) {
            m_threadLimit = m_threads.size();
            return;
        }
        m_threads.push_back(std::move(thread));
    }

    // The waiting job nearest the view (the first queued among equals); with everything false,
    // only a job in view. -1 when there is none.
    int NearestWaiting(bool everything) const
    {
        int nearest = -1;
        int nearestDistance = 0;
        for (size_t i = 0; i < m_jobs.size(); ++i) {
            if (m_jobs[i].state != JobState::PENDING)
                continue;
            const int distance = DistanceFromView(m_jobs[i].band, m_view);
            if ((everything || distance == 0) && (nearest < 0 || distance < nearestDistance)) {
                nearest = static_cast<int>(i);
                nearestDistance = distance;
            }
        }
        return nearest;
    }

    bool AnyRunning(bool everything) const
    {
        return std::any_of(m_jobs.begin(), m_jobs.end(), [&](const PictureJob& job) {
            return job.state == JobState::RUNNING && (everything || DistanceFromView(job.band, m_view) == 0);
        });
    }

    // Decodes job i with the lock given up meanwhile; jobs may be added then, so it is found again
    // by its index afterwards.
    void Run(size_t i, PictureDecoder& decoder, const ExclusiveLock& lock)
    {
        m_jobs[i].state = JobState::RUNNING;
        --m_pending;
        ++m_running;
        const int ids[2] = {m_jobs[i].resourceIds[0], m_jobs[i].resourceIds[1]};
        HBITMAP picture = nullptr;
        int decodedId = 0;
        {
            const Unlocked unlocked(lock);
            for (int id : ids) {
                if (id != 0 && (picture = decoder.Decode(m_module, id, PICTURE_RESOURCE_TYPE, PICTURE_BOX_SIZE,
                                                         PICTURE_BOX_SIZE, &m_cancel)) != nullptr) {
                    decodedId = id;
                    break;
                }
            }
        }
        m_jobs[i].state = JobState::DONE;
        m_jobs[i].picture.Reset(picture);
        m_jobs[i].decodedId = decodedId;
        --m_running;
        WakeAllConditionVariable(&m_changed);
        // One notice at a time: the board takes every decoded picture when it handles it.
        if (picture && !m_notified)
            m_notified = PostMessageW(m_board, WM_BOARD_PICTURES_READY, 0, 0) != FALSE;
    }

    HWND m_board;
    HMODULE m_module;
    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_changed = CONDITION_VARIABLE_INIT;
    std::atomic<bool> m_cancel{false};
    std::vector<PictureJob> m_jobs;
    size_t m_pending = 0;
    size_t m_running = 0;
    Band m_view = {0, 0};
    bool m_notified = false;
    bool m_building = true;
    size_t m_threadLimit;
    std::vector<UniqueKernelHandle> m_threads;
};

// The pictures of the one board being shown; replaced when another board is built.
std::unique_ptr<PictureLoader> g_pictureLoader;

PictureLoader* LoaderOf(HWND board)
{
    return g_pictureLoader && g_pictureLoader->Board() == board ? g_pictureLoader.get() : nullptr;
}

// Until the board has its size, the pictures that may be in view are those that start within its
// parent.
Band FirstViewOf(HWND board)
{
    RECT client = {};
    GetClientRect(GetParent(board), &client);
    return {0, client.bottom};
}

Band ViewOf(HWND board)
{
    RECT client = {};
    GetClientRect(board, &client);
    const int top = GetScrollPos(board, SB_VERT);
    return {top, top + client.bottom};
}

// Where the control lies in unscrolled board coordinates.
Band BandOf(HWND board, HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, board, reinterpret_cast<POINT*>(&rect), 2);
    const int scrolled = GetScrollPos(board, SB_VERT);
    return {rect.top + scrolled, rect.bottom + scrolled};
}

} // namespace

void StartBoardPictures(HWND board)
{
    g_pictureLoader.reset();
    g_pictureLoader = std::make_unique<PictureLoader>(board, ThreadLimit());
    g_pictureLoader->SetView(FirstViewOf(board));
}

void QueueQuestionPicture(HWND board, int question, int top, int bottom)
{
    if (PictureLoader* loader = LoaderOf(board))
        loader->Queue(question, IDR_QUESTION_PICTURE_BASE + question, 0, {top, bottom});
}

void ShowAnswerPicture(HWND board, int question)
{
    HWND control = PictureControl(board, question);
    const int answerId = IDR_ANSWER_PICTURE_BASE + question;
    HMODULE module = GetModuleHandleW(nullptr);
    if (!control ||
        FindPictureResource(module, answerId, PICTURE_RESOURCE_TYPE).header.format == PictureFormat::UNKNOWN)
        return;
    PictureLoader* loader = LoaderOf(board);
    if (loader && loader->Building()) {
        if (!loader->PutAnswerFirst(question, answerId))
            loader->Queue(question, answerId, 0, BandOf(board, control));
        return;
    }
    // The player solved it: it is shown now, whatever waits in the queue.
    UniqueBitmap picture(
        LoadScaledPicture(module, answerId, PICTURE_RESOURCE_TYPE, PICTURE_BOX_SIZE, PICTURE_BOX_SIZE));
    if (!picture)
        return;
    if (loader)
        loader->DropWaiting(question);
    Install(board, question, answerId, std::move(picture));
}

void FinishBoardPictureQueue(HWND board)
{
    PictureLoader* loader = LoaderOf(board);
    if (!loader)
        return;
    loader->EndBuilding();
    if (!loader->HasWorkers()) {
        loader->DecodeHere(true);
        InstallDecodedPictures(board);
    }
}

void ShowPicturesInView(HWND board)
{
    PictureLoader* loader = LoaderOf(board);
    if (!loader)
        return;
    loader->SetView(ViewOf(board));
    loader->DecodeHere(false);
    InstallDecodedPictures(board);
}

void InstallDecodedPictures(HWND board)
{
    PictureLoader* loader = LoaderOf(board);
    if (!loader)
        return;
    for (DecodedPicture& decoded : loader->TakeDecoded())
        Install(board, decoded.question, decoded.resourceId, std::move(decoded.picture));
}

void OnBoardViewChanged(HWND board)
{
    if (PictureLoader* loader = LoaderOf(board))
        loader->SetView(ViewOf(board));
}

void StopBoardPictures(HWND board)
{
    if (LoaderOf(board))
        g_pictureLoader.reset();
}

void SetPictureThreadCount(int count)
{
    g_threadCount = count;
}
