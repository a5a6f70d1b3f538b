// Items done by several writer threads at once, and seen done in their own order. Each writer
// makes its own job (its own open files) with makeJob, on its thread, and takes the next item
// not yet taken; the calling thread hands each item to finished in index order, with the error
// the job raised for it, as soon as it and every item before it are done. finished returning
// false stops the rest: no writer starts another item, and those under way are waited for.
// Whatever happens, every writer has ended when RunOrdered returns; an error thrown by
// finished (or by makeJob) is thrown on after that.
//
// With one writer everything runs on the calling thread, one item after the other, as a
// plain loop would; so it does when the system starts no writer thread at all, and fewer
// writers share the items when it starts only some.
#pragma once

#include <exception>
#include <functional>

namespace pub {

using ItemJob = std::function<void(int item)>;

void RunOrdered(int items, int writers, const std::function<ItemJob()>& makeJob,
                const std::function<bool(int item, std::exception_ptr error)>& finished);

}  // namespace pub
