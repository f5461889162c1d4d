#include "generator/ModelStream.h"

#include "document/Archive.h"
#include "generator/ThreadAside.h"

#include <array>

CModelStream::CModelStream(std::string path, const CModelVertex* vertices, STEPS steps)
    : path_(std::move(path)), vertices_(vertices), steps_(std::move(steps)) {
    thread_ = StartThreadAside([this] { Run(); });
}

CModelStream::~CModelStream() {
    if (thread_.joinable()) {
        state_.fetch_or(STOPPED, std::memory_order_release);
        state_.notify_one();
        thread_.join();
    }
    // file_, if still here, removes its temporary.
}

void CModelStream::Close(size_t count) {
    closedCount_ = count;
    state_.store(static_cast<uint32_t>(count) | CLOSED, std::memory_order_release);
    state_.notify_one();
}

void CModelStream::Complete() {
    state_.fetch_or(COMPLETE, std::memory_order_release);
    state_.notify_one();
}

bool CModelStream::WaitVertices() {
    progress_.wait(WRITING, std::memory_order_acquire);
    return progress_.load(std::memory_order_acquire) != GAVE_UP;
}

void CModelStream::CloseAside(CReplacedFile replaced) {
    replaced_ = std::move(replaced);
    state_.fetch_or(HANDED, std::memory_order_release);
    state_.notify_one();
}

bool CModelStream::Join() {
    // The writer reports DONE or GAVE_UP last before it ends or waits for
    // a replaced file.
    uint32_t progress = progress_.load(std::memory_order_acquire);
    while (progress != DONE && progress != GAVE_UP) {
        progress_.wait(progress, std::memory_order_acquire);
        progress = progress_.load(std::memory_order_acquire);
    }
    const bool done = progress == DONE;
    if (!done)
        file_.reset();
    return done;
}

void CModelStream::Report(uint32_t progress) {
    progress_.store(progress, std::memory_order_release);
    progress_.notify_one();
}

uint32_t CModelStream::Await(uint32_t bits, size_t done) {
    uint32_t state = state_.load(std::memory_order_acquire);
    while ((state & (bits | STOPPED)) == 0 && (state & COUNT) == done) {
        state_.wait(state, std::memory_order_acquire);
        state = state_.load(std::memory_order_acquire);
    }
    return state;
}

void CModelStream::Run() {
    try {
        file_ = std::make_unique<CStagedFile>(path_);
        if (steps_.prelude)
            steps_.prelude();
        CArchiveWriter archive(file_->Sink(), CPMDModel::FILE_BUFFER_SIZE);
        static constexpr std::array<uint8_t, CPMDModel::HEAD_SIZE> room{};
        archive.WriteBytes(room.data(), room.size());
        size_t done = 0;
        uint32_t state = 0;
        while ((state & CLOSED) == 0) {
            state = Await(CLOSED, done);
            if (state & STOPPED)
                break;
            const size_t count = state & COUNT;
            const std::span<const CModelVertex> range{vertices_ + done, count - done};
            finite_ = CPMDModel::WriteVertexRange(archive, range) && finite_;
            done = count;
        }
        if ((state & STOPPED) == 0) {
            archive.Flush();
            file_->StartWriteback();
            Report(VERTICES_WRITTEN);
            if ((Await(COMPLETE, done) & STOPPED) == 0) {
                steps_.rest(*file_);
                file_->Finish();
                Report(DONE);
                // file_ is the builder's now.
                if (Await(HANDED, done) & HANDED)
                    replaced_.Close();
                return;
            }
        }
    } catch (...) {
        // The caller writes the files the ordinary way and meets the error
        // there, if it is still one.
    }
    Report(GAVE_UP);
}
