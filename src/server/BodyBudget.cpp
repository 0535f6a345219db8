#include "server/BodyBudget.h"

#include <algorithm>

namespace server {

BodyBudget::BodyBudget(qint64 total, qint64 perAddress)
    : total_(total), perAddress_(std::min(perAddress, total)) {}

BodyBudget::Verdict BodyBudget::Take(const QString& addressKey, qint64 bytes, qint64 requestBytes) {
    if (bytes <= 0)
        return Verdict::Granted;
    if (requestBytes > perAddress_)
        return Verdict::TooBig;
    std::lock_guard lock(mutex_);
    // Large bodies stop where the last eighth begins; small ones may use all of it.
    const qint64 ceiling = requestBytes <= kSmallBody ? total_ : total_ - total_ / 8;
    qint64& mine = byAddress_[addressKey];
    if (used_ + bytes > ceiling || mine + bytes > perAddress_) {
        if (mine == 0)
            byAddress_.remove(addressKey);
        return Verdict::Busy;
    }
    used_ += bytes;
    mine += bytes;
    return Verdict::Granted;
}

void BodyBudget::Give(const QString& addressKey, qint64 bytes) {
    if (bytes <= 0)
        return;
    std::lock_guard lock(mutex_);
    used_ -= bytes;
    const auto it = byAddress_.find(addressKey);
    if (it == byAddress_.end())
        return;
    *it -= bytes;
    if (*it <= 0)
        byAddress_.erase(it);
}

qint64 BodyBudget::InUse() const {
    std::lock_guard lock(mutex_);
    return used_;
}

qint64 BodyBudget::InUseBy(const QString& addressKey) const {
    std::lock_guard lock(mutex_);
    return byAddress_.value(addressKey);
}

BodyBudget::Verdict BodyBudget::Hold::Grow(BodyBudget& budget, const QString& addressKey,
                                           qint64 bytes) {
    const Verdict verdict = budget.Take(addressKey, bytes, bytes_ + bytes);
    if (verdict == Verdict::Granted && bytes > 0) {
        budget_ = &budget;
        key_ = addressKey;
        bytes_ += bytes;
    }
    return verdict;
}

void BodyBudget::Hold::Release() {
    if (budget_)
        budget_->Give(key_, bytes_);
    budget_ = nullptr;
    bytes_ = 0;
}

}  // namespace server
