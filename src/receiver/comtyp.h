#pragma once

#include <QString>

#include <memory>

class PortSystem;
class Uhr;

// A kind of connection to the handset receiver.
class comTyp
{
public:
    comTyp() = default;
    comTyp(const comTyp &) = delete;
    comTyp &operator=(const comTyp &) = delete;
    virtual ~comTyp() = default;

    virtual void verbindungStarten() {}
};

class comPort;

// Makes the receiver link for a connection kind; only "rs-232" exists.
class comTypFabrik final
{
public:
    comTypFabrik(PortSystem &ports, Uhr &uhr)
        : m_ports(ports)
        , m_uhr(uhr)
    {
    }
    ~comTypFabrik();

    // For "rs-232" a new link (kept by the factory); for any other kind the one made before.
    comTyp *erzeugeComTyp(const QString &art);

private:
    PortSystem &m_ports;
    Uhr &m_uhr;
    std::unique_ptr<comPort> m_comPort;
};
