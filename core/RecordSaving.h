#pragma once
// Merging downloaded records into the month files (core/RecordStore.h), in a thread
// of its own that holds SavingLock, the one lock of the program, so that one save
// runs at a time.
//
// The merge: each record goes into the file of its own year and month. A stored
// record is the same record only when its time stamp and its ring index are both
// equal (core/RegulatorRecord.h, TRecordIdentity): then the new one replaces it in
// place when its input-1 value is larger, and is dropped otherwise. Any other record
// is appended after the file's last whole record, also one whose stamp is stored
// already under another ring index (an hour the regulator recorded twice after its
// clock was set back). A record appended or replaced counts for the later records
// of the same list, so a record read twice is stored once. A record whose stamp is
// no valid date and time is not stored anywhere.
// Files are addressed by full paths; the process's current directory is never
// changed (it is shared by every thread).
//
// Using it from the download:
//
//     TZEKOSavingThread saver(DownloadedRecords, "", [this](const TSaveOutcome& o) {
//         if (o.Success) WriteReadPosition(); else ShowError(o.Error);
//     }, this);
//     FreeRecordList(DownloadedRecords);
//
// The handler runs later in the main thread (MainThread().Post with `this` as the
// owner; a window that goes away first calls MainThread().CancelFor(this)). Who
// prefers to wait calls saver.Wait(), or keeps saver.Result(), a shared future that
// outlives the handle. Dropping the handle does not stop the save.
#include "core/RecordStore.h"

#include <cstddef>
#include <functional>
#include <future>
#include <mutex>
#include <string>

namespace zeko {

// Held by every save; readers do not take it.
extern std::mutex SavingLock;

struct TSaveOutcome {
    // Every record with a valid stamp is in its file (appended, replaced or already
    // stored with a value at least as large), written through to the disk.
    bool Success = false;
    std::string Error;      // the failure that ended the save; empty on success
    size_t Appended = 0;
    size_t Replaced = 0;
    size_t Unchanged = 0;   // the same record stored already was kept
    size_t Skipped = 0;     // stamp no valid date and time: stored nowhere
};

// Stores the records of List into Dir when Dir is not empty (every record into that
// one folder, without year folders), else into the year folders of ProgramDir().
// List is left empty. EInOutError when a file operation fails; what was written
// before stays written. `outcome`, when given, receives the counts so far.
void SaveRecords(TRecordList& List, const std::string& Dir, TSaveOutcome* outcome = nullptr);

class TZEKOSavingThread {
public:
    using TFinished = std::function<void(const TSaveOutcome&)>;

    // Copies List (the caller keeps its own) and starts saving at once under
    // SavingLock. `onFinished`, when given, is posted to the main thread with
    // `finishedOwner` as the owner once the save has ended.
    TZEKOSavingThread(const TRecordList& List, const std::string& Dir = "",
                      TFinished onFinished = {}, const void* finishedOwner = nullptr);

    // The outcome, ready once the save has ended.
    std::shared_future<TSaveOutcome> Result() const { return result_; }
    bool Finished() const;
    // Blocks until the save has ended; the save never needs the main thread, so the
    // main thread may wait too.
    TSaveOutcome Wait() const;

private:
    std::shared_future<TSaveOutcome> result_;
};

// Blocks until every save started so far has ended (the main window calls it when
// it closes, so that no downloaded record is lost).
void WaitForSavingThreads();

} // namespace zeko
