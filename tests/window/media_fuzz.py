"""media_fuzz.py GAME WORK [--seed N] [--mutations N] [--workers N] [--verbose]: hostile media
thrown at the game.

Mutations of the title picture and of the background sound (byte flips, header fields set to
extremes, truncations, chunks reordered), generated here from the seed, and hand-made hostile files
(huge and broken headers, a FIFO, a folder, a device, no media folder at all). Each case runs the
real game in a copy of the media, in an X server of its worker's own: it must either refuse with
exit code 1 and a message naming the file in full, or start (the title shown, or a game begun with
Enter so that the sound plays) and quit with 0 on SIGTERM. Never a signal, a sanitizer report, a
hang, or more than 100 MB of resident memory.
"""

import argparse
import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import threading
import time

MEMORY_MAX_KB = 100 * 1024
START_SECONDS = 20  # from launch to a refusal or a window, on a busy machine
QUIT_SECONDS = 10  # from SIGTERM to the end

MEDIA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "media")
PICTURE = "title.bmp"
SOUND = "sound/main.wav"


def u32(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


def u16(value):
    return struct.pack("<H", value & 0xFFFF)


def put(data, at, field):
    return data[:at] + field + data[at + len(field):]


def bmp_header(width, height, bits, compression, pixels_at=54, size=0):
    return (b"BM" + u32(size) + u32(0) + u32(pixels_at) + u32(40) + u32(width) + u32(height) +
            u16(1) + u16(bits) + u32(compression) + u32(0) * 5)


def wav(fmt_tag, channels, rate, bits, data, chunks_before=b"", fmt_extra=b""):
    fmt = u16(fmt_tag) + u16(channels) + u32(rate) + u32(rate * channels * bits // 8)
    fmt += u16(channels * bits // 8) + u16(bits) + fmt_extra
    body = b"WAVE" + chunks_before + b"fmt " + u32(len(fmt)) + fmt + b"data" + u32(len(data)) + data
    return b"RIFF" + u32(len(body)) + body


def chunks(data):
    """the WAV's chunks after the RIFF header: a list of (id, whole chunk bytes)"""
    found, at = [], 12
    while at + 8 <= len(data):
        length = struct.unpack("<I", data[at + 4:at + 8])[0]
        end = min(len(data), at + 8 + length + (length & 1))
        found.append(data[at:end])
        at = end
    return found


BMP_FIELDS = [(2, 4), (10, 4), (14, 4), (18, 4), (22, 4), (26, 2), (28, 2), (30, 4), (34, 4),
              (46, 4)]
WAV_FIELDS = [(4, 4), (16, 4), (20, 2), (22, 2), (24, 4), (28, 4), (32, 2), (34, 2), (40, 4)]
EXTREMES = [0, 1, 2, 3, 0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFF, 0x8000, 0x7FFFFFFF, 0x80000000,
            0xFFFFFFFF, 0xFFFFFFFE, 100000, 1025, 1024, -1, -200, 10000000, 96001, 7999]


def mutate(rng, original, fields, riff):
    """one seeded mutation of a file, and what was done"""
    data = bytearray(original)
    kind = rng.choice(["flip", "flip header", "extreme", "extremes", "truncate", "append"] +
                      (["reorder", "odd chunk"] if riff else []))
    if kind == "flip":
        for _ in range(rng.randint(1, 8)):
            data[rng.randrange(len(data))] = rng.randrange(256)
    elif kind == "flip header":
        for _ in range(rng.randint(1, 4)):
            data[rng.randrange(64)] ^= 1 << rng.randrange(8)
    elif kind in ("extreme", "extremes"):
        for _ in range(1 if kind == "extreme" else rng.randint(2, 4)):
            at, width = rng.choice(fields)
            value = rng.choice(EXTREMES + [rng.getrandbits(32)])
            data[at:at + width] = (u32 if width == 4 else u16)(value)
    elif kind == "truncate":
        cut = rng.choice([rng.randrange(70), rng.randrange(len(data))])
        del data[cut:]
    elif kind == "append":
        data += bytes(rng.randrange(256) for _ in range(rng.randint(1, 300)))
    elif kind == "reorder":
        parts = chunks(bytes(data))
        rng.shuffle(parts)
        data = bytearray(data[:12] + b"".join(parts))
    elif kind == "odd chunk":
        junk = bytes(rng.randrange(256) for _ in range(rng.choice([1, 3, 5, 77])))
        pad = b"\0" if rng.randrange(2) else b""
        at = rng.choice([12, 36])
        data = bytearray(data[:at] + b"LIST" + u32(len(junk)) + junk + pad + data[at:])
    return bytes(data), kind


def hand_made(name):
    """the case of that name: (file replaced, its bytes or a kind of special file, the outcome
    it must have); made only when its turn comes, so that this script stays small beside the game"""
    title = open(os.path.join(MEDIA, PICTURE), "rb").read()
    main = open(os.path.join(MEDIA, SOUND), "rb").read()
    pixels = title[54:]
    rows = [pixels[i:i + 1200] for i in range(0, len(pixels), 1200)]
    top_down = put(title, 22, u32(-200))[:54] + b"".join(reversed(rows))
    samples = main[44:]
    cases = [
        ("RLE8 100000 square, 1086 bytes", PICTURE,
         bmp_header(100000, 100000, 8, 1, 1078) + bytes(1024) + b"\0\x01" * 4, "refused"),
        ("0 bits 100000 square", PICTURE, bmp_header(100000, 100000, 0, 1, 1078) + bytes(1032),
         "refused"),
        ("RLE8 20000 square, 1080 bytes", PICTURE,
         bmp_header(20000, 20000, 8, 1, 1078) + bytes(1024) + b"\0\x01", "refused"),
        ("RLE4 24 bits, height 537 million", PICTURE,
         bmp_header(400, 537000000, 24, 2) + title[54:], "refused"),
        ("RLE8 runs past every row", PICTURE,
         bmp_header(8, 8, 8, 1, 1078) + bytes(1024) + b"\xff\x07" * 64 + b"\0\x01", "refused"),
        ("pixels at 4 GB", PICTURE, put(title, 10, u32(0xFFFFFFF0)), "refused"),
        ("palette of 2 billion bytes", PICTURE,
         bmp_header(4, 4, 8, 0, 0x7FFFFFF0) + bytes(64), "refused"),
        ("width 2^32 - 1", PICTURE, put(title, 18, u32(0xFFFFFFFF)), "refused"),
        ("cut after the headers", PICTURE, title[:100], "refused"),
        ("empty picture", PICTURE, b"", "refused"),
        ("top-down title", PICTURE, top_down, "started"),
        ("10 MHz sound", SOUND, put(main, 24, u32(10000000)), "refused"),
        ("4 MHz sound", SOUND, put(main, 24, u32(4000000)), "refused"),
        ("rate 0", SOUND, put(main, 24, u32(0)), "refused"),
        ("no fmt chunk", SOUND, b"RIFF" + u32(len(samples) + 12) + b"WAVEdata" +
         u32(len(samples)) + samples, "refused"),
        ("data of 2 GB", SOUND, put(main, 40, u32(0x7FFFFFFF)), "refused"),
        ("fmt of 4 GB", SOUND, put(main, 16, u32(0xFFFFFFFF)), "refused"),
        ("sound of 17 MB", SOUND, "17 MB", "refused"),
        ("extensible PCM", SOUND, wav(0xFFFE, 1, 22050, 16, samples,
                                      fmt_extra=u16(22) + u16(16) + u32(4) + u16(1) +
                                      bytes.fromhex("000000001000800000aa00389b71")), "started"),
        ("odd chunk with its pad byte", SOUND, wav(1, 1, 22050, 16, samples,
                                                   chunks_before=b"LIST" + u32(3) + b"abc\0"),
         "started"),
        ("stereo 8-bit at 96000 Hz", SOUND, wav(1, 2, 96000, 8, samples[:96000 * 2]), "started"),
        ("FIFO title", PICTURE, "fifo", "refused"),
        ("FIFO sound", SOUND, "fifo", "refused"),
        ("folder for a picture", PICTURE, "folder", "refused"),
        ("link to a device", PICTURE, "device", "refused"),
        ("link to a FIFO", SOUND, "link to fifo", "refused"),
        ("no media folder", "", "no media", "refused"),
    ]
    if name is None:
        return cases
    target, content, expected = next(c[1:] for c in cases if c[0] == name)
    return target, content() if callable(content) else content, expected


HAND_MADE = [c[0] for c in hand_made(None)]


class Worker:
    """an X server, a home with sound to nowhere and a copy of the media, for one case at a time"""

    def __init__(self, game, work, index, sanitized):
        self.game, self.sanitized = game, sanitized
        self.dir = os.path.join(work, f"worker{index}")
        self.run_dir = os.path.join(self.dir, "run")
        self.home = os.path.join(self.dir, "home")
        os.makedirs(self.home)
        shutil.copytree(MEDIA, os.path.join(self.run_dir, "media"))
        os.makedirs(os.path.join(self.dir, "bin"))
        # Allegro shows a message through xmessage where it can; this one can't, so it's printed
        with open(os.path.join(self.dir, "bin", "xmessage"), "w") as f:
            f.write("#!/bin/sh\nexit 1\n")
        os.chmod(os.path.join(self.dir, "bin", "xmessage"), 0o755)
        with open(os.path.join(self.home, ".asoundrc"), "w") as f:
            f.write('pcm.!default { type file; slave.pcm "null"; file "/dev/null"; format "raw" }\n')
        with open(os.path.join(self.home, "allegro.cfg"), "w") as f:
            f.write("[sound]\ndigi_card = ALSA\n")
        # a display number drawn from thousands, never one that another server gave up a moment
        # before, on which the library's start-up may fail to open the display
        while True:
            number = random.SystemRandom().randrange(1000, 31000)
            if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
                continue
            self.xvfb = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", "640x480x24", "-nolisten", "tcp", "-noreset"],
                stderr=subprocess.DEVNULL)
            while self.xvfb.poll() is None and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
                time.sleep(0.05)
            if self.xvfb.poll() is None:
                break
        self.display = f":{number}"

    def stop(self):
        self.xvfb.terminate()
        self.xvfb.wait()

    def window_shown(self):
        return subprocess.run(["xdotool", "search", "--name", "^Moonstruck$"],
                              env=dict(os.environ, DISPLAY=self.display),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0

    def place(self, target, content):
        """puts the case's file in place of TARGET in the copy of the media"""
        path = os.path.join(self.run_dir, "media", target)
        if content == "no media":
            os.rename(os.path.join(self.run_dir, "media"), os.path.join(self.run_dir, "aside"))
            return
        os.remove(path)
        if content == "fifo":
            os.mkfifo(path)
        elif content == "folder":
            os.mkdir(path)
        elif content == "device":
            os.symlink("/dev/zero", path)
        elif content == "link to fifo":
            os.mkfifo(path + ".fifo")
            os.symlink(path + ".fifo", path)
        elif content == "17 MB":  # the real sound and a hole, never held here
            shutil.copy(os.path.join(MEDIA, target), path)
            os.truncate(path, 17 << 20)
        else:
            with open(path, "wb") as f:
                f.write(content)

    def restore(self, target, content):
        if content == "no media":
            os.rename(os.path.join(self.run_dir, "aside"), os.path.join(self.run_dir, "media"))
            return
        path = os.path.join(self.run_dir, "media", target)
        if content == "folder":
            os.rmdir(path)
        else:
            os.remove(path)
        if content == "link to fifo":
            os.remove(path + ".fifo")
        shutil.copy(os.path.join(MEDIA, target), path)

    def run(self, target, content):
        """runs one case; (outcome, peak memory in kB, seconds, what went wrong or "")"""
        self.place(target, content)
        try:
            return self.play(target)
        finally:
            self.restore(target, content)

    def play(self, target):
        env = dict(os.environ, DISPLAY=self.display, HOME=self.home,
                   PATH=os.path.join(self.dir, "bin") + ":" + os.environ["PATH"],
                   ASAN_OPTIONS="detect_leaks=0:hard_rss_limit_mb=400",
                   UBSAN_OPTIONS="print_stacktrace=1")

        # no core dumps; the address space bounded where the sanitizers don't reserve terabytes
        # of it. Set by a shell, so that the peak memory measured is the game's, not a fork of this
        limits = "ulimit -c 0" + ("" if self.sanitized else "; ulimit -v 1048576")
        out, err = os.path.join(self.dir, "out"), os.path.join(self.dir, "err")
        started = time.monotonic()
        with open(out, "wb") as o, open(err, "wb") as e:
            game = subprocess.Popen(["sh", "-c", limits + '; exec "$0"', self.game],
                                    cwd=self.run_dir, env=env, stdout=o, stderr=e)
        status = usage = None
        problem = ""
        while status is None:
            pid, status, usage = os.wait4(game.pid, os.WNOHANG)
            if pid:
                break
            status = None
            if time.monotonic() - started > START_SECONDS:
                problem = "neither refused nor showed a window in time"
                break
            if self.window_shown():
                time.sleep(0.4)  # the loading is over by now, or hung
                if target == SOUND:  # a game, which plays the background sound
                    subprocess.run(["xdotool", "mousemove", "100", "100", "keydown", "Return",
                                    "sleep", "0.5", "keyup", "Return"],
                                   env=dict(os.environ, DISPLAY=self.display))
                break
            time.sleep(0.05)
        if status is None:  # a refusal ends the game by itself; a game that started is ended
            os.kill(game.pid, signal.SIGTERM)
            quit_by = time.monotonic() + QUIT_SECONDS
            while True:
                pid, status, usage = os.wait4(game.pid, os.WNOHANG)
                if pid:
                    break
                if time.monotonic() > quit_by:
                    os.kill(game.pid, signal.SIGKILL)
                    pid, status, usage = os.wait4(game.pid, 0)
                    problem = problem or "still running 10 s after SIGTERM"
                    break
                time.sleep(0.05)
        seconds = time.monotonic() - started
        code = os.waitstatus_to_exitcode(status)
        said = open(out, errors="replace").read()
        errors = open(err, errors="replace").read()
        outcome = "refused" if code == 1 else "started"
        where = os.path.join(os.path.realpath(self.run_dir), "media")
        if not problem:
            if code < 0:
                problem = f"killed by signal {-code}"
            elif "Sanitizer" in errors or "runtime error" in errors:
                problem = "a sanitizer report"
            elif usage.ru_maxrss > MEMORY_MAX_KB:
                problem = f"{usage.ru_maxrss} kB of memory"
            elif code not in (0, 1):
                problem = f"ended with exit code {code}"
            elif outcome == "refused" and not target and f"no folder {where}." not in said:
                problem = f"said {said!r}"
            elif outcome == "refused" and target and \
                    f"Couldn't load {where}/{target}: " not in said:
                problem = f"said {said!r}"
        if problem:
            problem += "\n--- stdout:\n" + said + "--- stderr:\n" + errors[-3000:]
        return outcome, usage.ru_maxrss, seconds, problem, said.strip()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("game")
    parser.add_argument("work")
    parser.add_argument("--seed", type=int, default=12)
    parser.add_argument("--mutations", type=int, default=100, help="of each of the two files")
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--verbose", action="store_true", help="print every case, not only the"
                        " hand-made ones and failures")
    args = parser.parse_args()
    game = os.path.realpath(args.game)
    sanitized = b"libasan" in subprocess.run(["ldd", game], capture_output=True).stdout

    cases = [(name, None) for name in HAND_MADE]
    cases += [(PICTURE, i) for i in range(args.mutations)]
    cases += [(SOUND, i) for i in range(args.mutations)]

    workers = [Worker(game, args.work, i, sanitized) for i in range(args.workers)]
    results, lock, began = [], threading.Lock(), time.monotonic()
    queue = list(enumerate(cases))

    def work(worker):
        while True:
            with lock:
                if not queue:
                    return
                index, case = queue.pop(0)
            if case[1] is None:
                name = case[0]
                target, content, expected = hand_made(name)
            else:  # a mutation of its own seed, whichever worker makes it
                target, i = case
                rng = random.Random(f"{args.seed} {target} {i}")
                fields, riff = (BMP_FIELDS, False) if target == PICTURE else (WAV_FIELDS, True)
                original = open(os.path.join(MEDIA, target), "rb").read()
                content, kind = mutate(rng, original, fields, riff)
                name, expected = f"{target} mutation {i} ({kind})", None
                del original
            outcome, memory, seconds, problem, said = worker.run(target, content)
            del content
            if not problem and expected and outcome != expected:
                problem = f"{outcome}, not {expected}: {said}"
            with lock:
                results.append((index, name, outcome, memory, seconds, problem))
                if problem or expected or args.verbose:
                    print(f"{name}: {outcome}, {memory} kB, {seconds:.1f} s"
                          f"{' -- ' + said if outcome == 'refused' else ''}"
                          f"{' -- FAIL: ' + problem if problem else ''}", flush=True)

    threads = [threading.Thread(target=work, args=(w,)) for w in workers]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for w in workers:
        w.stop()

    failed = [r for r in results if r[5]]
    # a spawned program's peak counts the memory of the process it was spawned from
    floor = open("/proc/self/status").read().split("VmHWM:")[1].split()[0]
    for label, belongs in (("title.bmp mutations", lambda n: n.startswith(PICTURE + " mut")),
                           ("main.wav mutations", lambda n: n.startswith(SOUND + " mut")),
                           ("hand-made cases", lambda n: "mutation" not in n)):
        group = [r for r in results if belongs(r[1])]
        if not group:
            continue
        print(f"{label}: {len(group)}, refused {sum(r[2] == 'refused' for r in group)}, "
              f"started {sum(r[2] == 'started' for r in group)}, failed "
              f"{sum(bool(r[5]) for r in group)}; peak memory {max(r[3] for r in group)} kB; "
              f"longest case {max(r[4] for r in group):.1f} s")
    print(f"{len(results)} cases in {time.monotonic() - began:.0f} s with {args.workers} workers"
          f" (seed {args.seed}, {'sanitized' if sanitized else 'plain'} build); the peaks include"
          f" this script's own {floor} kB")
    print("FAIL" if failed else "PASS")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
