#pragma once
// The memory the bodies of requests in flight may take: one budget for all of them together
// and a smaller share for each client address, so that neither one client nor many together
// can make the service hold more than the operator allowed.
//
// A request takes its announced length before its body is read, and gives it back when it ends
// or its connection closes (Hold does both). A request that would pass the budget is refused
// before a byte of its body is kept. The last eighth of the budget is left to small bodies
// (sign-ins, queries), so that a flood of large uploads cannot stop them.

#include <QHash>
#include <QString>

#include <mutex>

namespace server {

class BodyBudget {
public:
    // Bodies up to this size may use the part of the budget that larger ones leave them.
    static constexpr qint64 kSmallBody = 64 * 1024;

    BodyBudget(qint64 total, qint64 perAddress);
    BodyBudget(const BodyBudget&) = delete;
    BodyBudget& operator=(const BodyBudget&) = delete;

    enum class Verdict {
        Granted,
        TooBig,  // more than one address may ever hold: refused for good (413)
        Busy,    // more than is free now: refused for the moment (503)
    };
    // Takes `bytes` more for a request whose body then holds `requestBytes` in all.
    Verdict Take(const QString& addressKey, qint64 bytes, qint64 requestBytes);
    void Give(const QString& addressKey, qint64 bytes);

    qint64 InUse() const;
    qint64 InUseBy(const QString& addressKey) const;

    // The bytes one request holds, given back when it goes.
    class Hold {
    public:
        Hold() = default;
        ~Hold() { Release(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

        // Takes `bytes` more for the request; the verdict, and nothing taken unless Granted.
        Verdict Grow(BodyBudget& budget, const QString& addressKey, qint64 bytes);
        void Release();
        qint64 Bytes() const { return bytes_; }

    private:
        BodyBudget* budget_ = nullptr;
        QString key_;
        qint64 bytes_ = 0;
    };

private:
    const qint64 total_;
    const qint64 perAddress_;
    mutable std::mutex mutex_;
    qint64 used_ = 0;
    QHash<QString, qint64> byAddress_;
};

}  // namespace server
