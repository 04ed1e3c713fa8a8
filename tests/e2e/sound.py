"""Listening to the null sink: records what the program sends to the sound device and
compares it with the recording files by their loudness over time."""

import array
import operator
import os
import struct
import signal
import sys
import time
import wave

import harness
from harness import check

RATE = 22050
WINDOW = 0.01        # seconds per loudness value
LOUD = 400           # RMS (of 32767) above which a window counts as sound


def loudness(samples):
    """RMS of every 10 ms window."""
    n = int(RATE * WINDOW)
    out = []
    for start in range(0, len(samples) - n + 1, n):
        chunk = samples[start:start + n]
        out.append((sum(map(operator.mul, chunk, chunk)) / n) ** 0.5)
    return out


def read_wav(path):
    with wave.open(path, "rb") as w:
        check(w.getframerate() == RATE and w.getnchannels() == 1 and w.getsampwidth() == 2,
              "%s is not 22050 Hz mono 16-bit" % path)
        samples = array.array("h", w.readframes(w.getnframes()))
    if sys.byteorder == "big":
        samples.byteswap()
    return samples


def pearson(a, b):
    n = min(len(a), len(b))
    if n < 10:
        return -1.0
    a, b = a[:n], b[:n]
    ma, mb = sum(a) / n, sum(b) / n
    cov = sum((x - ma) * (y - mb) for x, y in zip(a, b))
    va = sum((x - ma) ** 2 for x in a)
    vb = sum((y - mb) ** 2 for y in b)
    return cov / (va * vb) ** 0.5 if va and vb else -1.0


def best_lag(signal, pattern, lags):
    return max(lags, key=lambda lag: pearson(signal[lag:lag + len(pattern)], pattern) if lag >= 0 else -2)


def match(recording, file_samples, start, end, rec_env=None):
    """Where in recording[start:end] (sample indices) file_samples best fits, and how well
    the file's last word, sample by sample, is found there: (lag, loudness fit, wave fit).
    rec_env: the recording's loudness, when the caller has it already."""
    step = int(RATE * WINDOW)
    rec_env, file_env = rec_env or loudness(recording), loudness(file_samples)
    first = max(0, start // step)
    last = max(first + 1, min(len(rec_env) - 10, end // step))
    coarse = best_lag(rec_env, file_env, range(first, last))
    fit = pearson(rec_env[coarse:coarse + len(file_env)], file_env)
    # Refine to the sample on the file's tail, where neighbouring sentences differ most:
    # first by the mean level of every millisecond, then sample by sample.
    loud = sounding(file_env)
    if not loud:
        return coarse * step, fit, -1.0
    tail_from = (loud[0] + (loud[1] - loud[0]) * 3 // 4) * step
    tail = file_samples[tail_from:loud[1] * step]
    ms = RATE // 1000
    level = lambda s, at, n: [sum(abs(v) for v in s[at + i * ms:at + (i + 1) * ms]) for i in range(n)]
    n = len(tail) // ms
    tail_level = level(tail, 0, n)
    around = coarse * step + tail_from
    fine = best_lag([0] * 0 + level(recording, max(0, around - 15 * ms), n + 30), tail_level, range(0, 31))
    at = max(0, around - 15 * ms + fine * ms)
    exact = max(range(max(0, at - ms), at + ms + 1),
                key=lambda a: pearson(recording[a:a + len(tail)], tail))
    return exact - tail_from, fit, pearson(recording[exact:exact + len(tail)], tail)


def heard_within(rec, samples, since, within=1.6, what="1.wav"):
    """Stops the recorder once `within` seconds have passed since sample `since`, and checks
    that the first second of `samples` reached the device in that time; returns the fit.
    Played whole it fits 0.99; gaps from a busy machine gave 0.70, another sentence 0.4-0.52.
    (A sentence cut off by this one hides where it begins, hence the slowest start allowed.)"""
    time.sleep(max(0.0, since / RATE + within - rec.seconds_recorded()))
    recording = rec.stop()
    _, fit, _ = match(recording, samples[:RATE], since, len(recording))
    check(fit >= 0.65, "%s did not reach the sound device within %.1f s (fit %.2f)" % (what, within, fit))
    return fit


def sounding(envelope):
    """(first, last) loud window, or None for silence."""
    loud = [i for i, v in enumerate(envelope) if v > LOUD]
    return (loud[0], loud[-1]) if loud else None


def seconds(windows):
    return windows * WINDOW


def similarity(envelope, pattern, offset):
    """Pearson correlation of pattern with envelope[offset:], over the pattern's length."""
    part = envelope[offset:offset + len(pattern)]
    n = len(part)
    if n < 10:
        return -1.0
    p = pattern[:n]
    ma, mb = sum(part) / n, sum(p) / n
    cov = sum((a - ma) * (b - mb) for a, b in zip(part, p))
    va = sum((a - ma) ** 2 for a in part)
    vb = sum((b - mb) ** 2 for b in p)
    return cov / (va * vb) ** 0.5 if va and vb else -1.0


class Recorder:
    """parec on the null sink's monitor, with the small latency that keeps all of it."""

    def __init__(self, journey, label):
        self.journey = journey
        self.path = os.path.join(journey.tmp, "%s.raw" % label)
        self.popen = journey.spawn("parec-" + label, [
            "parec", "-d", "nullsink.monitor", "--latency-msec=20", "--rate=%d" % RATE,
            "--channels=1", "--format=s16le", "--raw", self.path], env=journey.env(sound=True),
            preexec=harness._audio_priority)
        # Recording has begun once a fifth of a second has reached the file.
        journey.until(lambda: os.path.exists(self.path) and os.path.getsize(self.path) >= RATE * 2 // 5,
                      10, "parec to record")
        # Where sample 0 lies on the monotonic clock. A sample reaches the file a little
        # after it sounded, never before, so the earliest of many readings is the truest.
        self.started = time.monotonic() - self.seconds_recorded()
        until = time.monotonic() + 0.3
        while time.monotonic() < until:
            self.started = min(self.started, time.monotonic() - self.seconds_recorded())
            time.sleep(0.002)

    def seconds_recorded(self):
        return os.path.getsize(self.path) / (2 * RATE)

    def now(self):
        """The sample of the recording that corresponds to this moment."""
        return self.at(time.monotonic())

    def at(self, moment):
        """The sample of the recording that corresponds to a moment of the monotonic clock."""
        return int((moment - self.started) * RATE)

    def wait_heard(self, since, seconds, timeout):
        """Waits until the device has sounded for `seconds` from the first sound after sample
        `since` on (no longer: the checks need a sentence's start, not all of it). Gives up
        quietly after `timeout` seconds, for the checks to tell what was missing."""
        window = int(RATE * WINDOW)
        since = since // window * window
        onset = None
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if onset is None:
                loud = sounding(loudness(self.samples(since)))
                if loud:
                    onset = since + loud[0] * window
            if onset is not None and self.seconds_recorded() * RATE >= onset + seconds * RATE:
                return onset
            time.sleep(0.05)
        return onset

    def stop(self):
        os.kill(self.popen.pid, signal.SIGINT)
        self.popen.wait(5)
        return self.samples()

    def samples(self, since=0):
        """What has been recorded from sample `since` on."""
        with open(self.path, "rb") as f:
            f.seek(2 * since)
            data = f.read()
        samples = array.array("h", data[:len(data) // 2 * 2])
        if sys.byteorder == "big":
            samples.byteswap()
        return samples


def broken_wavs(good):
    """The kinds of broken WAV a teacher's folder can hold, made from good 16-bit bytes."""
    def patched(offset, fmt, value):
        data = bytearray(good)
        struct.pack_into("<" + fmt, data, offset, value)
        return bytes(data)
    noise = bytearray(good)
    seed = 1
    for i in range(44, len(noise) - 1, 2):
        seed = (seed * 1103515245 + 12345) & 0x7fffffff
        struct.pack_into("<h", noise, i, (seed >> 8) % 40000 - 20000)
    return {
        "empty": b"",
        "header only": good[:44],
        "cut data": good[:len(good) // 2],
        "data size 4 GiB": patched(40, "I", 0xffffffff),
        "streaming header": patched(4, "I", 0xffffffff),
        "zero channels": patched(22, "H", 0),
        "zero rate": patched(24, "I", 0),
        "zero bits": patched(34, "H", 0),
        "24 bit": patched(34, "H", 24),
        "not a WAV": b"Dette er ikke en lydfil.\n",
        "noise": bytes(noise),
    }
