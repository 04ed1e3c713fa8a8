"""The sealed class folder as a reader outside the program sees it: class keys wrapped under a
password (Argon2id, XChaCha20-Poly1305) and files sealed with them, through the system's
libsodium, so journeys can open what the program wrote and seed what it reads."""

import base64
import ctypes
import ctypes.util
import glob
import hashlib
import os

_sodium = ctypes.CDLL(ctypes.util.find_library("sodium") or "libsodium.so.23")
assert _sodium.sodium_init() >= 0
_sodium.crypto_pwhash.argtypes = [ctypes.c_char_p, ctypes.c_ulonglong, ctypes.c_char_p, ctypes.c_ulonglong,
                                  ctypes.c_char_p, ctypes.c_ulonglong, ctypes.c_size_t, ctypes.c_int]
_sodium.crypto_generichash.argtypes = [ctypes.c_char_p, ctypes.c_size_t, ctypes.c_char_p, ctypes.c_ulonglong,
                                       ctypes.c_char_p, ctypes.c_size_t]
_ull, _out_len = ctypes.c_ulonglong, ctypes.POINTER(ctypes.c_ulonglong)
_p = ctypes.c_char_p
# encrypt(c, clen, m, mlen, ad, adlen, nsec, npub, k); decrypt(m, mlen, nsec, c, clen, ad, adlen, npub, k)
_sodium.crypto_aead_xchacha20poly1305_ietf_encrypt.argtypes = [_p, _out_len, _p, _ull, _p, _ull, _p, _p, _p]
_sodium.crypto_aead_xchacha20poly1305_ietf_decrypt.argtypes = [_p, _out_len, _p, _p, _ull, _p, _ull, _p, _p]

ARGON2ID13 = 2
SCHEME = "skrivlo-noegle-1"
MAGIC = b"SKRIVLO-FORSEGLET 1\n"
SUFFIX = ".skrivlo"
TEST_COST = (1, 8 * 1024)  # passes, KiB: what the journeys' own keys are wrapped with


def key_id(key):
    out = ctypes.create_string_buffer(8)
    context = b"skrivlo klassenoegle id"
    assert _sodium.crypto_generichash(out, 8, context, len(context), key, len(key)) == 0
    return out.raw.hex()


def _derive(password, salt, passes, memory_kib):
    out = ctypes.create_string_buffer(32)
    word = password.encode("utf-8")
    if _sodium.crypto_pwhash(out, 32, word, len(word), salt, passes, memory_kib * 1024, ARGON2ID13) != 0:
        return None
    return out.raw


def _aead(encrypt, data, ad, nonce, key):
    out = ctypes.create_string_buffer(len(data) + 16)
    length = ctypes.c_ulonglong(0)
    if encrypt:
        result = _sodium.crypto_aead_xchacha20poly1305_ietf_encrypt(
            out, ctypes.byref(length), data, len(data), ad, len(ad), None, nonce, key)
    else:
        result = _sodium.crypto_aead_xchacha20poly1305_ietf_decrypt(
            out, ctypes.byref(length), None, data, len(data), ad, len(ad), nonce, key)
    return out.raw[:length.value] if result == 0 else None


def new_key():
    return os.urandom(32)


def wrap(key, password, cost=TEST_COST):
    salt, nonce = os.urandom(16), os.urandom(24)
    head = "$".join([SCHEME, key_id(key), str(cost[0]), str(cost[1]), base64.b64encode(salt).decode()])
    wrapped = _aead(True, key, head.encode(), nonce, _derive(password, salt, *cost))
    return head + "$" + base64.b64encode(nonce).decode() + "$" + base64.b64encode(wrapped).decode()


def unwrap(line, password):
    fields = line.strip().split("$")
    if len(fields) != 7 or fields[0] != SCHEME:
        return None
    salt, nonce, wrapped = (base64.b64decode(f) for f in fields[4:7])
    derived = _derive(password, salt, int(fields[2]), int(fields[3]))
    key = derived and _aead(False, wrapped, "$".join(fields[:5]).encode(), nonce, derived)
    return key if key and key_id(key) == fields[1] else None


def published_name(line):
    """Where a PC puts its wrapped key in the class folder."""
    return "noegler/%s %s.noegle" % (line.split("$")[1], hashlib.sha256(line.encode()).hexdigest()[:8])


def seal(key, name, plain):
    head = MAGIC + key_id(key).encode() + b"\n"
    nonce = os.urandom(24)
    return head + nonce + _aead(True, plain, head + name.encode("utf-8"), nonce, key)


def open_bytes(keys, name, data):
    """The plain bytes, or None when no key opens them under that name."""
    if not data.startswith(MAGIC) or len(data) < 37 + 24 + 16:
        return None
    key = keys.get(data[20:36].decode("latin-1"))
    return key and _aead(False, data[61:], data[:37] + name.encode("utf-8"), data[37:61], key)


def class_keys(folder, password):
    """Every key the password opens among a folder's published ones, by id."""
    keys = {}
    for path in glob.glob(os.path.join(folder, "noegler", "*.noegle")):
        with open(path, encoding="latin-1") as f:
            key = unwrap(f.read(), password)
        if key:
            keys[key_id(key)] = key
    return keys


def opened(folder, name, keys):
    """The file called name (its plain name, relative to folder), opened; None when it does not open."""
    with open(os.path.join(folder, name + SUFFIX), "rb") as f:
        return open_bytes(keys, name, f.read())
