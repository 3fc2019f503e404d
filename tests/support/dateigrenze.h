#pragma once

#include <csignal>
#include <sys/resource.h>

// Lowers this process's file-size limit for the lifetime of the object: a write beyond it fails
// with EFBIG just as a write on a full disk fails with ENOSPC, and it needs no root.
class Dateigrenze final
{
public:
    explicit Dateigrenze(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_alt);
        m_altesSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit neu = m_alt;
        neu.rlim_cur = bytes;
        m_gesetzt = setrlimit(RLIMIT_FSIZE, &neu) == 0;
    }
    ~Dateigrenze()
    {
        setrlimit(RLIMIT_FSIZE, &m_alt);
        std::signal(SIGXFSZ, m_altesSignal);
    }
    Dateigrenze(const Dateigrenze &) = delete;
    Dateigrenze &operator=(const Dateigrenze &) = delete;

    bool gesetzt() const { return m_gesetzt; }

private:
    rlimit m_alt{};
    void (*m_altesSignal)(int) = nullptr;
    bool m_gesetzt = false;
};
