#pragma once

#include "core/compare/CompareRun.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orvalis {

// Which rows of the engine's output the comparison keeps, and their place in a window's summary:
// the class rows of the smaller class value, then those of the larger, then the landscape rows,
// each in the engine's order and only for the metrics asked for.
class MetricKeys {
public:
    MetricKeys(const MetricSelection& kept, int coverValue, int matrixValue);

    struct Key {
        MetricLevel level = MetricLevel::Class;
        int cls = 0;
        std::string metric;
    };
    const std::vector<Key>& keys() const { return keys_; }
    // The key of one output row; -1 when it is not kept.
    int index(const MetricValue& value) const;

private:
    std::vector<Key> keys_;
    int low_ = 0, high_ = 0;
    std::map<std::string, int> classSlot_[2];  // by code
    std::map<std::string, int> landscapeSlot_;
};

// One real window as the worker that claimed its first task read it.
struct RealWindow {
    std::string file;
    int index = 0;  // in the full list
    int rows = 0, cols = 0;
    std::int64_t habitat = 0;
    MetricsOptions options;
    double cellSize = 1.0;
    std::string sizeNote;                     // why its file gives no cell size of its own
    std::vector<std::optional<double>> real;  // by key
    std::string error;                        // why it was not compared
    bool ready = false;
};

// What one task gives: a window read, or one replicate measured.
struct CompareTask {
    std::string rows;                           // its neutral-metrics.csv rows
    std::vector<std::optional<double>> values;  // by key
    std::string error;
};

// Tasks numbered window by window (the shard's order), 1 + models x replicates each: the window
// read and measured, then its replicates model by model. Workers run them ahead of the consumer
// within a bounded look-ahead, so memory does not follow the number of windows; the consumer
// takes the results strictly in order.
class ComparePipeline {
public:
    ComparePipeline(const CompareParameters& p, const std::vector<int>& windows, const MetricKeys& keys, int jobs);
    ~ComparePipeline();
    ComparePipeline(const ComparePipeline&) = delete;
    ComparePipeline& operator=(const ComparePipeline&) = delete;

    std::int64_t tasksPerWindow() const { return perWindow_; }
    // The result of task; waits, asking keepWaiting every 25 ms; nullopt once it says no.
    std::optional<CompareTask> take(std::int64_t task, const std::function<bool()>& keepWaiting);
    // The window of the shard's window `local`, once its first task is taken.
    std::shared_ptr<RealWindow> window(int local);
    // The consumer is past window local: its data can go.
    void release(int local);
    // The consumer stops: the replicates being made end early, their results unused.
    void halt() { halt_.store(true, std::memory_order_relaxed); }

private:
    void work();
    void read(RealWindow& w) const;
    CompareTask replicate(const RealWindow& w, int model, int replicate) const;

    const CompareParameters& p_;
    const std::vector<int>& windows_;
    const MetricKeys& keys_;
    const std::int64_t perWindow_;
    const std::int64_t total_;
    std::int64_t lookahead_ = 1;
    std::mutex mutex_;
    std::condition_variable workToDo_;
    std::condition_variable resultReady_;
    std::int64_t nextClaim_ = 0;
    std::int64_t consumerAt_ = 0;
    bool stop_ = false;
    std::atomic<bool> halt_{false};
    std::map<std::int64_t, CompareTask> results_;
    std::map<int, std::shared_ptr<RealWindow>> read_;
    std::vector<std::thread> workers_;
};

// The landscapes folder of a model: "random" or "fractal_H" (no ':', which some systems refuse in names).
std::string modelFolderName(const NeutralModel& model);

// WINDOW_RRR.txt: the window's file name without its extension, the replicate from 1.
std::string keptLandscapeName(const std::string& windowFile, int replicate);

}  // namespace orvalis
