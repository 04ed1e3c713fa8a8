"""The teacher records in the program (--indtal): behind the password, with a virtual
microphone fed known speech, three texts are recorded with Space, Space and Enter. The
saved files are 16-bit mono, trimmed, levelled and the fed speech (cross-correlation); the
test then plays the teacher's recordings instead of the spoken ones."""

import glob
import os
import shutil
import subprocess
import sys
import time
import wave

import learner
import sound
from harness import Journey, Skip, check

STUDIO_TITLE = "Skrivlo – indtal optagelser"
FORM = ["Sprogcenter Vest", "Bo Ærø", "Torvet 3", "1971", "", "", "", ""]
# What the microphone hears for 1.wav, 2.wav and 3.wav: other sentences than theirs, so
# the test can tell the teacher's recording from the spoken one.
FED_FROM = {1: 40, 2: 50, 3: 60}
SPEECH = 1.8  # seconds of each fed sentence, with silence around it


def as_22050(j, path):
    out = os.path.join(j.tmp, "22050-" + os.path.basename(path))
    subprocess.run(["sox", path, "-r", str(sound.RATE), out], check=True, timeout=20)
    return sound.read_wav(out)


def record_in_studio(j, fed):
    program = j.launch(j.workdir("studio"), sound=True, argv=[j.program, "--indtal"])
    learner.unlock_started(j, program, main_title=STUDIO_TITLE)
    j.key("Page_Down", "Page_Down", "Page_Down", "Page_Down")  # past the four guidance texts, to 1.wav
    for n in sorted(fed):
        j.key("space")
        # The program records once its stream stands on the microphone.
        j.until(lambda: subprocess.run(["pactl", "list", "short", "source-outputs"], env=j.env(sound=True),
                                       capture_output=True, timeout=5).stdout.strip(), 10, "recording to begin")
        # paplay returns when the sentence has been played into the microphone.
        subprocess.run(["paplay", "-d", "mic", fed[n]], env=j.env(sound=True), check=True, timeout=30)
        j.key("space", "Return")
    j.shot("studio-after-three")
    # F1 opens the teacher's guide over the window; its Escape closes only the guide.
    j.key("F1")
    j.wait_window(learner.GUIDE_TITLE)
    j.shot("studio-guide")
    j.key("Escape")
    j.wait_window_gone(learner.GUIDE_TITLE)
    check(program.running(), "closing the guide closed the recording window")
    j.key("Escape")
    check(program.wait_exit(15) == 0, "the recording window did not close with exit status 0")


def check_saved(j, fed):
    found = glob.glob(os.path.join(j.home, ".local", "share", "*", "optagelser", "*.wav"))
    check(sorted(os.path.basename(p) for p in found) == ["1.wav", "2.wav", "3.wav"],
          "the teacher's folder holds %s" % found)
    saved = {}
    for path in found:
        shutil.copy(path, j.artifacts)  # to listen to when it fails
        n = int(os.path.basename(path)[:-4])
        with wave.open(path, "rb") as w:
            check(w.getnchannels() == 1 and w.getsampwidth() == 2, "%s is not 16-bit mono" % path)
            seconds = w.getnframes() / w.getframerate()
        samples = saved[n] = as_22050(j, path)
        envelope = sound.loudness(samples)
        first, last = sound.sounding(envelope)
        check(sound.seconds(first) <= 0.3 and sound.seconds(len(envelope) - last) <= 0.5,
              "%d.wav is not trimmed: speech from %.2f s to %.2f s of %.2f s"
              % (n, sound.seconds(first), sound.seconds(last), seconds))
        check(SPEECH - 0.3 <= seconds <= SPEECH + 0.6, "%d.wav lasts %.2f s" % (n, seconds))
        check(max(abs(s) for s in samples) >= 0.8 * 32768, "%d.wav is not levelled" % n)
        fits = {m: sound.match(sound.read_wav(fed[m]), samples, 0, len(sound.read_wav(fed[m])))
                for m in fed}
        print("%d.wav: %.2f s, fits with the fed sentences %s" % (n, seconds, {m: "%.2f/%.2f" % f[1:] for m, f in fits.items()}))
        check(fits[n][1] >= 0.9 and fits[n][2] >= 0.8, "%d.wav is not what the microphone heard" % n)
        check(all(fits[n][1] > fits[m][1] for m in fed if m != n), "%d.wav fits another sentence better" % n)
    return saved


def check_played(j, saved):
    workdir = j.workdir("learner", sounds=True)
    spoken = {}
    for n in saved:
        path = os.path.join(workdir, "sounds", "%d.wav" % n)
        spoken[n] = sound.read_wav(path)
        os.remove(path)  # the working folder's sounds/ would come first
    program = learner.through_the_form(j, workdir, FORM, sound=True)
    rec = sound.Recorder(j, "dictation1")
    marks = [rec.now()]
    learner.next_page(j, "dictation1")
    for _ in range(len(saved)):
        time.sleep(1.8)  # the first second of each sentence is enough
        marks.append(rec.now())
        j.key("Return")
    recording = rec.stop()
    for i, n in enumerate(sorted(saved)):
        since, until = marks[i], marks[i + 1]
        # By loudness and sample by sample: the loudness alone of two sentences' starts can look alike.
        excerpt = int(1.0 * sound.RATE)
        _, fit, wave_fit = sound.match(recording, saved[n][:excerpt], since, until)
        _, other, other_wave = sound.match(recording, spoken[n][:excerpt], since, until)
        print("field %d: the teacher's %.2f/%.2f, the spoken one %.2f/%.2f" % (n, fit, wave_fit, other, other_wave))
        check(fit >= 0.85 and wave_fit >= 0.8 and wave_fit > other_wave + 0.15,
              "field %d did not play the teacher's %d.wav" % (n, n))
    learner.quit(j, program)


def journey(j):
    for tool in ("paplay", "sox"):
        check(shutil.which(tool), "missing %s (pulseaudio-utils, sox)" % tool)
    j.start_sound_server(microphone=True)
    fed = {}
    for n, source in FED_FROM.items():
        original = os.path.join(j.sounds, "%d.wav" % source)
        if not os.path.isfile(original):
            raise Skip("no recordings in %r yet (the build makes sounds/*.wav)" % j.sounds)
        fed[n] = os.path.join(j.tmp, "fed%d.wav" % n)
        subprocess.run(["sox", original, fed[n], "trim", "0.15", str(SPEECH), "fade", "0", str(SPEECH),
                        "0.1", "pad", "0.5", "0.7"], check=True, timeout=20)
    record_in_studio(j, fed)
    saved = check_saved(j, fed)
    check_played(j, saved)


if __name__ == "__main__":
    sys.exit(Journey("studio", deadline=150).run(journey))
