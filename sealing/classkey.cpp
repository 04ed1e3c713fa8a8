#include "sealing/classkey.h"

#include <sodium.h>

#include <mutex>

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

ClassKey::Access::Access(const ClassKey &key)
    : key(key)
{
    sodium_mprotect_readonly(key.memory);
}

ClassKey::Access::~Access()
{
    sodium_mprotect_noaccess(key.memory);
}

std::shared_ptr<const ClassKey> ClassKey::make(const unsigned char *bytes)
{
    if (!sodiumReady())
        return nullptr;
    std::shared_ptr<ClassKey> key(new ClassKey);
    key->memory = sodium_malloc(size);
    if (!key->memory)
        return nullptr;
    auto *target = static_cast<unsigned char *>(key->memory);
    if (bytes)
        memcpy(target, bytes, size);
    else
        randombytes_buf(target, size);
    // The id is a hash keyed with the key itself: it tells two keys apart and nothing more.
    static const unsigned char context[] = "skrivlo klassenoegle id";
    unsigned char id[8];
    crypto_generichash(id, sizeof id, context, sizeof context - 1, target, size);
    key->keyId = QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(id), sizeof id).toHex());
    sodium_mprotect_noaccess(key->memory);
    return key;
}

std::shared_ptr<const ClassKey> ClassKey::generate()
{
    return make(nullptr);
}

std::shared_ptr<const ClassKey> ClassKey::fromBytes(const unsigned char *bytes)
{
    return make(bytes);
}

ClassKey::~ClassKey()
{
    if (memory)
        sodium_free(memory); // wipes it first
}
