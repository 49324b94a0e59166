#include "core/RecordSaving.h"

#include "core/Calendar.h"
#include "core/FileIO.h"
#include "platform/MainThread.h"
#include "platform/ProgramDir.h"
#include "platform/TextFiles.h"

#include <condition_variable>
#include <fcntl.h>
#include <sys/file.h>
#include <memory>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace zeko {

std::mutex SavingLock;

namespace {

// Appended records are collected and written in pieces of this size.
constexpr size_t AppendChunkBytes = 64 * 1024;

// Records merged in the order of their stamps land in buckets near each other, as
// they did when the stamp alone was the key; a stamp stored at two places of the ring
// is rare, and the index tells them apart.
struct TIdentityHash {
    size_t operator()(const TRecordIdentity& id) const { return std::hash<uint64_t>{}(id.Stamp + id.Index); }
};

// The month file being merged into: its records indexed by stamp and ring index, so
// that each new record is matched in constant time.
class TMonthFileMerge {
public:
    explicit TMonthFileMerge(std::string path) : path_(std::move(path)) {
        fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
        if (fd_ < 0 && errno == ENOENT) {
            fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            created_ = fd_ >= 0;
            if (fd_ < 0 && errno == EEXIST)  // another copy of the program made it just now
                fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
        }
        if (fd_ < 0)
            RaiseInOutError("Nelze otevřít soubor", path_, errno);
        std::vector<uint8_t> bytes;
        try {
            // SavingLock keeps the saves of this program apart; a second copy of the
            // program saving into the same folder waits here, so that neither
            // appends over records the other has just added.
            while (::flock(fd_, LOCK_EX) != 0)
                if (errno != EINTR)
                    RaiseInOutError("Nelze zamknout soubor", path_, errno);
            ReadWholeDescriptor(fd_, path_, bytes, MaxMonthFileBytes, RaiseMonthFileTooLarge);
        } catch (...) {
            ::close(fd_);  // no destructor runs for a constructor that throws
            throw;
        }
        // A torn record at the end is overwritten by the next append.
        records_ = static_cast<uint32_t>(bytes.size() / RecordBytes);
        written_ = records_;
        stored_.reserve(records_ + 4096);
        for (uint32_t i = 0; i < records_; ++i) {
            const TRegulatorRecord r = TRegulatorRecord::FromBytes(bytes.data() + size_t(i) * RecordBytes);
            stored_.emplace(IdentityOf(r), TStored{i, RecordInput1Value(r)});  // the first one counts
        }
    }
    ~TMonthFileMerge() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TMonthFileMerge(const TMonthFileMerge&) = delete;
    TMonthFileMerge& operator=(const TMonthFileMerge&) = delete;

    void Merge(const TRegulatorRecord& record, TSaveOutcome& outcome) {
        const double value = RecordInput1Value(record);
        const TRecordIdentity key = IdentityOf(record);
        if (records_ >= MaxMonthFileRecords && stored_.count(key) == 0)
            RaiseMonthFileFull(path_);
        const auto [it, isNew] = stored_.try_emplace(key, TStored{records_, value});
        if (isNew) {
            const size_t at = pending_.size();
            pending_.resize(at + RecordBytes);
            record.ToBytes(pending_.data() + at);
            ++records_;
            ++outcome.Appended;
            if (pending_.size() >= AppendChunkBytes)
                WritePending();
        } else if (it->second.Input1 < value) {
            Overwrite(it->second.Position, record);
            it->second.Input1 = value;
            ++outcome.Replaced;
        } else {
            ++outcome.Unchanged;
        }
    }

    // The records go to the disk, and a file made by this merge into its folder, before
    // the save counts as done (the read position then moves on in the regulator).
    void Close() {
        WritePending();
        const int fd = fd_;
        fd_ = -1;
        SyncAndClose(fd, path_);
        if (created_)
            if (const int error = SyncDirectory(ExtractFileDir(path_)); error != 0)
                RaiseInOutError("Nelze zapsat do složky", ExtractFileDir(path_), error);
    }

private:
    struct TStored {
        uint32_t Position;  // record number in the file
        double Input1;
    };

    void Overwrite(uint32_t position, const TRegulatorRecord& record) {
        if (position >= written_) {
            record.ToBytes(pending_.data() + size_t(position - written_) * RecordBytes);
            return;
        }
        const auto bytes = record.Bytes();
        WriteAt(fd_, path_, bytes.data(), bytes.size(), uint64_t(position) * RecordBytes);
    }

    void WritePending() {
        if (pending_.empty())
            return;
        WriteAt(fd_, path_, pending_.data(), pending_.size(), uint64_t(written_) * RecordBytes);
        written_ += static_cast<uint32_t>(pending_.size() / RecordBytes);
        pending_.clear();
    }

    std::string path_;
    int fd_ = -1;
    bool created_ = false;
    uint32_t records_ = 0;  // whole records, those still pending included
    uint32_t written_ = 0;  // whole records in the file itself
    std::vector<uint8_t> pending_;
    std::unordered_map<TRecordIdentity, TStored, TIdentityHash> stored_;
};

// The folder of a record's month file: `dir`, or its year folder.
std::string FolderFor(const TRegulatorRecord& r, const std::string& dir) {
    return dir.empty() ? JoinPath(ProgramDir(), YearFolderName(ExpandYear(r.Year))) : dir;
}

std::unique_ptr<TMonthFileMerge> OpenMonthFile(const std::string& folder, int month) {
    if (!ForceDirectories(folder))
        RaiseInOutError("Nelze vytvořit složku", folder, errno);
    return std::make_unique<TMonthFileMerge>(ResolvePathNoCase(JoinPath(folder, MonthFileName(month))));
}

// Saves still running, for WaitForSavingThreads.
struct TRunningSaves {
    std::mutex mutex;
    std::condition_variable ended;
    int count = 0;
};
TRunningSaves& RunningSaves() {
    static TRunningSaves* saves = new TRunningSaves;  // never destroyed: detached threads use it
    return *saves;
}

} // namespace

void SaveRecords(TRecordList& List, const std::string& Dir, TSaveOutcome* outcome) {
    TRecordList records;
    records.swap(List);  // List is left empty, also after a failure
    TSaveOutcome local;
    TSaveOutcome& counts = outcome ? *outcome : local;
    std::unique_ptr<TMonthFileMerge> file;
    std::string openFolder;
    int openMonth = 0;
    for (const TRegulatorRecord& r : records) {
        int64_t seconds = 0;
        if (!RecordSeconds(r, seconds)) {
            ++counts.Skipped;
            continue;
        }
        std::string folder = FolderFor(r, Dir);
        if (!file || r.Month != openMonth || folder != openFolder) {
            if (file)
                file->Close();
            file.reset();
            file = OpenMonthFile(folder, r.Month);
            openFolder = std::move(folder);
            openMonth = r.Month;
        }
        file->Merge(r, counts);
    }
    if (file)
        file->Close();
}

TZEKOSavingThread::TZEKOSavingThread(const TRecordList& List, const std::string& Dir,
                                     TFinished onFinished, const void* finishedOwner) {
    auto promise = std::make_shared<std::promise<TSaveOutcome>>();
    result_ = promise->get_future().share();
    {
        TRunningSaves& saves = RunningSaves();
        std::lock_guard<std::mutex> lock(saves.mutex);
        ++saves.count;
    }
    std::thread([records = List, Dir, promise, onFinished = std::move(onFinished), finishedOwner]() mutable {
        TSaveOutcome outcome;
        {
            std::lock_guard<std::mutex> lock(SavingLock);
            try {
                SaveRecords(records, Dir, &outcome);
                outcome.Success = true;
            } catch (const std::exception& e) {
                outcome.Success = false;
                outcome.Error = e.what();
            }
        }
        promise->set_value(outcome);
        if (onFinished)
            MainThread().Post(finishedOwner, [onFinished, outcome] { onFinished(outcome); });
        TRunningSaves& saves = RunningSaves();
        std::lock_guard<std::mutex> lock(saves.mutex);
        --saves.count;
        saves.ended.notify_all();
    }).detach();
}

bool TZEKOSavingThread::Finished() const {
    return result_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

TSaveOutcome TZEKOSavingThread::Wait() const { return result_.get(); }

void WaitForSavingThreads() {
    TRunningSaves& saves = RunningSaves();
    std::unique_lock<std::mutex> lock(saves.mutex);
    saves.ended.wait(lock, [&] { return saves.count == 0; });
}

} // namespace zeko
