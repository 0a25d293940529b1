#pragma once

// A file that fails on cue: the Nth write, the Nth seek, any flush, or any
// write that would grow the file past a size (a full disk), or a crash cut at
// the Nth write or sync. One plan may be
// shared by every file a document opens, so "the third note of the save
// fails" is one line of a test.

#include <memory>
#include <string>

#include "platform/file.h"
#include "store/tree_doc.h"

namespace vetra::test {

struct TFailure_Plan {
    int Fail_Write_At = 0;  // 1-based count of writes; 0 never
    int Fail_Seek_At = 0;
    bool Fail_Flush = false;
    int64_t Size_Limit = -1;   // writes ending beyond this fail; -1 no limit
    std::string Only_Path;     // when set, only files whose path contains it fail
    bool Refuse_Open = false;  // matching files do not open at all
    int Writes = 0;
    int Seeks = 0;
    // A crash: the Nth write or sync (1-based, counted together in `Steps`)
    // is cut, a write half done, and from then on nothing reaches any file.
    int Cut_At = 0;
    int Steps = 0;
    bool Dead = false;

    // True when the step may happen; a cut write still puts `half` on disk.
    bool step(bool& half) {
        half = false;
        if (Dead) return false;
        if (++Steps != Cut_At) return true;
        Dead = half = true;
        return false;
    }
};

class TFailing_File : public TFile {
  public:
    TFailing_File(std::unique_ptr<TFile> inner, std::shared_ptr<TFailure_Plan> plan,
                  std::string path)
        : Inner_(std::move(inner)), Plan_(std::move(plan)), Path_(std::move(path)) {}

    bool seek(int64_t offset) override {
        if (applies() && ++Plan_->Seeks == Plan_->Fail_Seek_At) return false;
        return Inner_->seek(offset);
    }
    int64_t position() const override { return Inner_->position(); }
    int64_t read(void* buffer, int64_t count) override { return Inner_->read(buffer, count); }
    bool write(const void* buffer, int64_t count) override {
        bool half = false;
        if (!Plan_->step(half)) {
            if (half) Inner_->write(buffer, count / 2);
            return false;
        }
        if (!applies()) return Inner_->write(buffer, count);
        if (++Plan_->Writes == Plan_->Fail_Write_At) return false;
        if (Plan_->Size_Limit >= 0 && Inner_->position() + count > Plan_->Size_Limit) return false;
        return Inner_->write(buffer, count);
    }
    int64_t size() const override { return Inner_->size(); }
    bool flush() override {
        bool half = false;
        return Plan_->step(half) && !(applies() && Plan_->Fail_Flush) && Inner_->flush();
    }
    bool truncate(int64_t length) override { return !Plan_->Dead && Inner_->truncate(length); }

  private:
    // The plan's path filter is read at each operation, so a test can aim at
    // one file after others are open.
    bool applies() const {
        return Plan_->Only_Path.empty() || Path_.find(Plan_->Only_Path) != std::string::npos;
    }

    std::unique_ptr<TFile> Inner_;
    std::shared_ptr<TFailure_Plan> Plan_;
    std::string Path_;
};

// Opens real files, wrapped so that the plan applies to them.
inline TTree_Doc::TFile_Opener failingOpener(std::shared_ptr<TFailure_Plan> plan) {
    return [plan](const std::string& path, TOpen_Mode mode) -> std::unique_ptr<TFile> {
        bool matches = plan->Only_Path.empty() || path.find(plan->Only_Path) != std::string::npos;
        if (matches && plan->Refuse_Open) return nullptr;
        if (plan->Dead && mode != TOpen_Mode::ReadOnly) return nullptr;
        auto file = openFile(path, mode);
        if (!file) return file;
        return std::make_unique<TFailing_File>(std::move(file), plan, path);
    };
}

}  // namespace vetra::test
