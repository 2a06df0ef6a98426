// The writer of the game's saves and the queue it takes them from.
#include "SaveWriter.h"

#include <QMetaObject>
#include <utility>

namespace kazoomba {

void SaveQueue::Push(SaveJob job) {
    if (!jobs_.empty() && !jobs_.back().guard) {
        // The waiting snapshot is older than this one and guards nothing: this one is written instead, and
        // answers for both.
        SaveJob& waiting = jobs_.back();
        for (SaveDone& d : job.done) waiting.done.push_back(std::move(d));
        for (HistoryEntry& e : job.history) waiting.history.push_back(std::move(e));
        waiting.writes = std::move(job.writes);
        waiting.guard = job.guard;
        return;
    }
    jobs_.push_back(std::move(job));
}

SaveJob SaveQueue::Pop() {
    SaveJob job = std::move(jobs_.front());
    jobs_.pop_front();
    return job;
}

bool WriteSaveJob(ProfileFile& file, HistoryFile* history, const SaveJob& job, bool* historyWritten) {
    const bool recorded = job.history.empty() || !history || history->Append(job.history);
    if (historyWritten) *historyWritten = recorded;
    return job.writes.empty() || file.WriteStrings(job.writes);
}

SaveWriter::SaveWriter(const ProfileFile& file) : file_(file), thread_([this] { Work(); }) {}

SaveWriter::SaveWriter(const ProfileFile& file, const QString& historyPath, HistoryReports reports)
    : file_(file),
      history_(historyPath.isEmpty() ? nullptr : std::make_unique<HistoryFile>(historyPath)),
      reports_(std::move(reports)),
      thread_([this] { Work(); }) {}

SaveWriter::~SaveWriter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void SaveWriter::Submit(std::vector<ProfileWrite> writes, bool guard, SaveDone done, std::vector<HistoryEntry> history) {
    SaveJob job{std::move(writes), guard, {}, std::move(history)};
    if (done) job.done.push_back(std::move(done));
    {
        std::lock_guard lock(mutex_);
        queue_.Push(std::move(job));
    }
    wake_.notify_all();
}

void SaveWriter::Finish() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.Empty() && !busy_; });
}

void SaveWriter::Work() {
    if (history_) {
        const HistoryOpened opened = history_->Open();
        if (reports_.opened)
            QMetaObject::invokeMethod(&replies_, [report = reports_.opened, opened] { report(opened); }, Qt::QueuedConnection);
    }
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !queue_.Empty(); });
        if (queue_.Empty()) break;  // stopping, with nothing left to write
        SaveJob job = queue_.Pop();
        busy_ = true;
        lock.unlock();
        bool recorded = true;
        const bool ok = WriteSaveJob(file_, history_.get(), job, &recorded);
        const QString reason = ok ? QString() : file_.LastError();
        if (!recorded && reports_.failed)
            QMetaObject::invokeMethod(&replies_, [report = reports_.failed, why = history_->LastError()] { report(why); },
                                      Qt::QueuedConnection);
        for (SaveDone& done : job.done)
            QMetaObject::invokeMethod(&replies_, [done = std::move(done), ok, reason] { done(ok, reason); },
                                      Qt::QueuedConnection);
        lock.lock();
        busy_ = false;
        if (queue_.Empty()) idle_.notify_all();
    }
    idle_.notify_all();
}

}  // namespace kazoomba
