#include "core/map/PieceStream.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace orvalis {

namespace {

// Pieces go over in batches of about this many bytes: few enough hand-overs that waking the
// other thread costs nothing, small enough that three batches take little memory.
constexpr std::size_t BatchBytes = 1u << 20;
constexpr int Batches = 3;

struct Batch {
    std::unique_ptr<unsigned char[]> values;
    std::unique_ptr<unsigned char[]> mask;
    std::vector<BandPiece> pieces;
};

}  // namespace

StreamEnd streamPieces(BandBlocks& blocks, const std::function<bool(const BandPiece&)>& work,
                       const std::function<bool(double)>& keepGoing, std::string* error)
{
    const std::size_t valueBytes = blocks.valueBytes(), maskBytes = blocks.maskBytes();
    const std::size_t slots = std::max<std::size_t>(1, BatchBytes / std::max<std::size_t>(valueBytes, 1));
    const bool threaded = std::thread::hardware_concurrency() > 1;
    std::vector<Batch> batches(threaded ? Batches : 1);
    for (Batch& b : batches) {
        b.values.reset(new (std::nothrow) unsigned char[valueBytes * slots]);
        if (maskBytes)
            b.mask.reset(new (std::nothrow) unsigned char[maskBytes * slots]);
        if (!b.values || (maskBytes && !b.mask)) {
            if (error)
                *error = "not enough memory for the blocks of the map";
            return StreamEnd::Failed;
        }
        b.pieces.reserve(slots);
    }

    std::mutex lock;
    std::condition_variable changed;
    std::deque<Batch*> full, empty;
    for (Batch& b : batches)
        empty.push_back(&b);
    bool ended = false;       // no more batches will come
    bool workFailed = false;  // work said stop
    bool outOfMemory = false;
    auto doWork = [&](Batch& b) {
        try {
            for (const BandPiece& p : b.pieces)
                if (!work(p))
                    return false;
        } catch (const std::bad_alloc&) {
            // Nothing may leave the worker thread; the reader hears of it as a failure.
            outOfMemory = true;
            return false;
        }
        return true;
    };
    std::thread worker;
    if (threaded)
        worker = std::thread([&] {
            for (;;) {
                Batch* b = nullptr;
                {
                    std::unique_lock<std::mutex> hold(lock);
                    changed.wait(hold, [&] { return !full.empty() || ended; });
                    if (full.empty())
                        return;
                    b = full.front();
                    full.pop_front();
                }
                const bool ok = !workFailed && doWork(*b);
                std::lock_guard<std::mutex> hold(lock);
                workFailed = workFailed || !ok;
                empty.push_back(b);
                changed.notify_all();
            }
        });

    StreamEnd end = StreamEnd::Done;
    for (bool more = true; more;) {
        Batch* b = nullptr;
        {
            std::unique_lock<std::mutex> hold(lock);
            changed.wait(hold, [&] { return !empty.empty() || workFailed; });
            if (workFailed) {
                end = StreamEnd::Failed;
                break;
            }
            b = empty.front();
            empty.pop_front();
        }
        b->pieces.clear();
        double fraction = 0;
        while (b->pieces.size() < slots) {
            BandPiece piece;
            const std::size_t k = b->pieces.size();
            const BandBlocks::Next next =
                blocks.next(piece, b->values.get() + k * valueBytes, maskBytes ? b->mask.get() + k * maskBytes : nullptr, error);
            if (next == BandBlocks::Next::Failed)
                end = StreamEnd::Failed;
            if (next != BandBlocks::Next::Piece) {
                more = false;
                break;
            }
            b->pieces.push_back(piece);
            fraction = piece.fraction;
        }
        if (end == StreamEnd::Failed)
            break;
        if (!threaded) {
            if (!doWork(*b)) {
                end = StreamEnd::Failed;
                break;
            }
            empty.push_back(b);
        } else {
            std::lock_guard<std::mutex> hold(lock);
            full.push_back(b);
            changed.notify_all();
        }
        if (more && keepGoing && !keepGoing(fraction)) {
            end = StreamEnd::Stopped;
            break;
        }
    }
    if (worker.joinable()) {
        {
            std::lock_guard<std::mutex> hold(lock);
            ended = true;
            // A stop or a failure leaves the queued batches undone.
            if (end != StreamEnd::Done)
                full.clear();
            changed.notify_all();
        }
        worker.join();
    }
    if (end == StreamEnd::Done && workFailed)
        end = StreamEnd::Failed;
    if (outOfMemory && error)
        *error = "not enough memory";
    if (end == StreamEnd::Done && keepGoing && !keepGoing(1.0))
        end = StreamEnd::Stopped;
    return end;
}

}  // namespace orvalis
