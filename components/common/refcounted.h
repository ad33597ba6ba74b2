#pragma once

#include <QtGlobal>

#include <atomic>

// The reference count of a component object: its creator holds the first
// reference, and the last release deletes it. Interface declares addRef()
// and release() and a protected virtual destructor.
template<typename Interface>
class RefCounted : public Interface
{
public:
    quint32 addRef() override { return ++m_references; }

    quint32 release() override
    {
        const quint32 left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ~RefCounted() override = default;

private:
    std::atomic<quint32> m_references{1};
};
