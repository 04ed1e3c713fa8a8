#pragma once

#include <QString>

#include <memory>

// The key every file of a class folder is sealed with: 32 random bytes that exist only in
// memory libsodium guards (never swapped out, no access outside a use, wiped when freed), and
// only after the teacher's password unwrapped or made them. Its id, a keyed hash, names it in
// each sealed file without telling anything of the key.
class ClassKey
{
public:
    static constexpr int size = 32;

    // A new random key; null when the system gives no guarded memory.
    static std::shared_ptr<const ClassKey> generate();
    // A key from bytes the caller wipes afterwards; null on the same failure.
    static std::shared_ptr<const ClassKey> fromBytes(const unsigned char *bytes);

    ~ClassKey();
    ClassKey(const ClassKey &) = delete;
    ClassKey &operator=(const ClassKey &) = delete;

    // 16 lower-case hex digits.
    QString id() const { return keyId; }

    // Lets fn read the key's bytes; the memory is readable only during the call.
    template<typename Fn>
    auto use(Fn fn) const
    {
        Access access(*this);
        return fn(static_cast<const unsigned char *>(memory));
    }

private:
    struct Access
    {
        explicit Access(const ClassKey &key);
        ~Access();
        const ClassKey &key;
    };

    ClassKey() = default;
    static std::shared_ptr<const ClassKey> make(const unsigned char *bytes);

    void *memory = nullptr;
    QString keyId;
};

// libsodium's own start, once per process; false when it cannot work here.
bool sodiumReady();
