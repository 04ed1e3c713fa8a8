#pragma once

#include "sealing/classkey.h"

#include <array>
#include <memory>

// The class key the corpus's sealed files and key line were made with, the same every run,
// so a mutation that keeps a file whole reaches the reader behind the seal.
inline std::shared_ptr<const ClassKey> fuzzKey()
{
    static const std::shared_ptr<const ClassKey> key = [] {
        std::array<unsigned char, ClassKey::size> bytes {};
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>(i * 7 + 1);
        return ClassKey::fromBytes(bytes.data());
    }();
    return key;
}

// The password of that key line, and the name the sealed data files were sealed under.
inline const char *fuzzPassword()
{
    return "kanelsnegle";
}

inline const char *fuzzSealedName()
{
    return "PC1-0a0b0c 0a0b0c0d.json";
}
