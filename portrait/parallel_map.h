#pragma once

#include <QThreadPool>
#include <optional>
#include <vector>

namespace portrait {

// work applied to each item on every core, the results in the items' order.
// A pool of its own: the global one may be busy with the caller's work.
template <typename Item, typename Work>
auto mapOnAllCores(const std::vector<Item>& items, const Work& work) {
  using Result = decltype(work(items.front()));
  std::vector<std::optional<Result>> done(items.size());
  QThreadPool pool;
  for (size_t i = 0; i < items.size(); ++i)
    pool.start([&items, &done, &work, i] { done[i].emplace(work(items[i])); });
  pool.waitForDone();
  std::vector<Result> results;
  results.reserve(done.size());
  for (auto& result : done) results.push_back(std::move(*result));
  return results;
}

}  // namespace portrait
