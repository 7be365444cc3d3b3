#pragma once
// A part's place among the dispatcher's services, held by whoever owns the part: made when the
// part starts to serve, it takes the place back when it goes, so no owner tears the services
// down by hand and no service outlives its part.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vitrina {

class TServiceRegistration {
public:
    TServiceRegistration() = default;
    explicit TServiceRegistration(std::function<void()> release) : release_(std::move(release)) {}
    TServiceRegistration(TServiceRegistration&& other) noexcept : release_(std::exchange(other.release_, {})) {}
    TServiceRegistration& operator=(TServiceRegistration&& other) noexcept {
        if (this != &other) {
            Release();
            release_ = std::exchange(other.release_, {});
        }
        return *this;
    }
    TServiceRegistration(const TServiceRegistration&) = delete;
    TServiceRegistration& operator=(const TServiceRegistration&) = delete;
    ~TServiceRegistration() { Release(); }

    void Release() {
        if (auto release = std::exchange(release_, {})) release();
    }

private:
    std::function<void()> release_;
};

// A part together with the registrations of what it serves: they are released before the part
// goes, whatever order its owner's members go in.
template <class T>
class TServingPart {
public:
    TServingPart() = default;
    TServingPart(TServingPart&&) = delete;
    ~TServingPart() { reset(); }

    // The part; its registrations follow with Serve.
    void Make(std::unique_ptr<T> part) {
        reset();
        part_ = std::move(part);
    }
    void Serve(TServiceRegistration registration) { registrations_.push_back(std::move(registration)); }
    void reset() {
        registrations_.clear();
        part_.reset();
    }

    T* get() const { return part_.get(); }
    T* operator->() const { return part_.get(); }
    T& operator*() const { return *part_; }
    explicit operator bool() const { return part_ != nullptr; }

private:
    std::unique_ptr<T> part_;
    std::vector<TServiceRegistration> registrations_;
};

}  // namespace vitrina
