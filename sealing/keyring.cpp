#include "sealing/keyring.h"

void Keyring::add(std::shared_ptr<const ClassKey> key)
{
    if (key)
        keys.insert(key->id(), std::move(key));
}
