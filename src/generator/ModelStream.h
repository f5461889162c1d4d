#pragma once
// A PMD model file written while its model is built. The vertices are most
// of the file and final once created, so a second thread copies them into
// the temporary file as the building thread makes them, and then writes the
// rest and flushes the file while the builder checks the model, instead of
// the whole file being serialised and flushed after the build.
//
// The writer thread creates the temporary (CStagedFile), runs its prelude
// (the generator encodes the texture and writes it to its own temporary
// there, while the first vertices are made), leaves room for the header and
// appends the vertices in the batches the builder publishes. Once the builder
// says the model is complete, the writer appends the rest (the generator's
// rest function: everything after the vertices, then the header over the
// room left for it) and flushes the file to the disk. The builder meanwhile
// may change the vertices again once WaitVertices returns (and flush the
// texture); it then joins the writer and commits the files.
//
// The stream is only a shortcut: when anything fails on the writer's side it
// stops, Join says so, and the caller writes the files the ordinary way and
// meets the error there. Destroying the stream stops the writer and removes
// its temporary.
//
// Once the file is flushed the writer has nothing left to do, and the
// builder's last step, renaming the files over the old ones, is mostly the
// release of the old model's storage. So the writer stays until the stream
// is destroyed, and closes the replaced file the builder hands it
// (CloseAside) while the builder commits the texture and finishes.

#include "document/StagedFile.h"
#include "generator/PMDModel.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class CModelStream {
public:
    struct STEPS {
        std::function<void()> prelude;               // may be empty
        std::function<void(CStagedFile& file)> rest; // appends the rest, writes the header
    };

    // Starts the writer for the model file at path. vertices is where the
    // model's vertices are and will be: the builder must never move them
    // (the vector is reserved) nor change one it has published; they are
    // final when published. Throws what starting a thread throws.
    CModelStream(std::string path, const CModelVertex* vertices, STEPS steps);
    ~CModelStream();
    CModelStream(const CModelStream&) = delete;
    CModelStream& operator=(const CModelStream&) = delete;

    // The first count vertices are final and may be written.
    void Publish(size_t count) {
        state_.store(static_cast<uint32_t>(count), std::memory_order_release);
        state_.notify_one();
    }
    // No vertex follows the first count.
    void Close(size_t count);
    // After Close: the rest of the model is final (the writer's rest step
    // may read it) until Join.
    void Complete();
    // Waits, after Close, until the writer is done with the vertices and
    // its prelude; false when it gave up.
    bool WaitVertices();
    // Waits for the writer after Complete. True when the temporary is
    // complete and flushed; TakeFile then hands it over.
    bool Join();
    std::unique_ptr<CStagedFile> TakeFile() { return std::move(file_); }
    // After Join returned true: the writer closes replaced, and the
    // destructor waits for that.
    void CloseAside(CReplacedFile replaced);
    // Whether every number of every vertex is finite (AllFinite), once
    // WaitVertices has returned true.
    bool VerticesFinite() const { return finite_; }
    size_t ClosedCount() const { return closedCount_; }

    // Publishing in batches of this many vertices keeps the writer's wakes
    // few and its writes large.
    static constexpr size_t BATCH = 4096;

private:
    void Run();
    // Waits until state_ has one of bits or a count other than done.
    uint32_t Await(uint32_t bits, size_t done);
    void Report(uint32_t progress);

    // state_: the published count, with CLOSED once no more come, COMPLETE
    // once the rest may be written, HANDED once replaced_ is the writer's to
    // close and STOPPED when the writer is to give up or end.
    static constexpr uint32_t HANDED = 1u << 28;
    static constexpr uint32_t CLOSED = 1u << 29;
    static constexpr uint32_t COMPLETE = 1u << 30;
    static constexpr uint32_t STOPPED = 1u << 31;
    static constexpr uint32_t COUNT = HANDED - 1;

    std::string path_;
    const CModelVertex* vertices_;
    STEPS steps_;
    std::atomic<uint32_t> state_{0};
    size_t closedCount_ = 0;
    // What the writer has done: WRITING, then VERTICES_WRITTEN and DONE, or
    // GAVE_UP.
    static constexpr uint32_t WRITING = 0;
    static constexpr uint32_t VERTICES_WRITTEN = 1;
    static constexpr uint32_t DONE = 2;
    static constexpr uint32_t GAVE_UP = 3;
    std::atomic<uint32_t> progress_{WRITING};
    bool finite_ = true;
    // The writer's until Join has returned.
    std::unique_ptr<CStagedFile> file_;
    CReplacedFile replaced_; // the writer's once HANDED
    std::thread thread_;
};
