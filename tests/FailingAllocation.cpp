// The test binary's replacement of the global operator new, which lets a
// test make one allocation fail (see FailingAllocation.h).

#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {

// -1: no failure armed; otherwise the number of allocations still to succeed.
thread_local int tCountdown = -1;
thread_local bool tFailed = false;

}  // namespace

#ifndef _WIN32

// The replacement forwards to malloc and free, which the sanitizers still
// watch; array forms reach these through the library's defaults.
void* operator new(std::size_t size) {
    if (tCountdown >= 0 && tCountdown-- == 0) {
        tFailed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t /*size*/) noexcept {
    std::free(p);
}

// The forms that do not throw must be replaced too: memory they hand out is
// given back through the replaced delete (the standard library's temporary
// buffers, for one).
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* p, const std::nothrow_t& /*tag*/) noexcept {
    std::free(p);
}

#endif

namespace knitcfg::test {

FailingAllocation::FailingAllocation(int skip) {
    tFailed = false;
    tCountdown = skip;
}

FailingAllocation::~FailingAllocation() {
    tCountdown = -1;
}

bool FailingAllocation::Failed() const {
    return tFailed;
}

bool FailingAllocation::Supported() {
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

}  // namespace knitcfg::test
