#pragma once

#include "sealing/classkey.h"

#include <QHash>
#include <QStringList>

#include <memory>

// The class keys a reader knows, by their ids: the one this PC seals with, and in the
// teacher's view every key the school's password unwrapped (a class folder holds one for
// each PC that made its own).
class Keyring
{
public:
    Keyring() = default;
    explicit Keyring(std::shared_ptr<const ClassKey> key) { add(std::move(key)); }

    void add(std::shared_ptr<const ClassKey> key);
    std::shared_ptr<const ClassKey> find(const QString &id) const { return keys.value(id); }
    bool contains(const QString &id) const { return keys.contains(id); }
    bool isEmpty() const { return keys.isEmpty(); }
    QStringList ids() const { return keys.keys(); }

private:
    QHash<QString, std::shared_ptr<const ClassKey>> keys;
};
