# media_fuzz.py GAME WORK [--seed N] [--mutations N] [--workers N] [--verbose]: hostile media
# thrown at the game.
#
# Mutations of the title picture and of the background sound (byte flips, header fields set to
# extremes, truncations, the data chunk put first), generated here from the seed, and hand-made
# hostile files (huge and broken headers, links to a FIFO and to a device, no media folder at all),
# each with the reason the game must give for refusing it, or none if it must start. Each case runs
# the real game in a copy of the media, in an X server of its worker's own: it must either refuse
# with exit code 1 and a message naming the file in full, or start (the title shown, or a game
# begun with Enter so that the sound plays) and quit with 0 on SIGTERM. Never a signal, a sanitizer
# report, a hang, or more than 100 MB of resident memory.
import argparse
import concurrent.futures
import functools
import os
import pathlib
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
MEDIA = pathlib.Path(__file__).resolve().parents[2] / "media"
PICTURE, SOUND = "title.bmp", "sound/main.wav"
STARTS = None  # the reason of refusal of a case that must start
NO_FOLDER = "Couldn't find the game's pictures and sounds: there is no folder"


def u32(value):
    return (value & 0xFFFFFFFF).to_bytes(4, "little")


def put(data, at, field):
    return data[:at] + field + data[at + len(field):]


# the file header and the 40-byte info header: one plane, no palette size or resolution given
def bmp_header(width, height, bits, compression, pixels_at=54):
    return b"BM" + struct.pack("<8xIIiiHHI20x", pixels_at, 40, width, height, 1, bits, compression)


def wav(fmt_tag, channels, rate, bits, data, chunks_before=b"", fmt_extra=b""):
    frame = channels * bits // 8
    fmt = struct.pack("<HHIIHH", fmt_tag, channels, rate, rate * frame, frame, bits) + fmt_extra
    body = b"WAVE" + chunks_before + b"fmt " + u32(len(fmt)) + fmt + b"data" + u32(len(data)) + data
    return b"RIFF" + u32(len(body)) + body


# the header fields (offset, width) that the mutations set to extremes
FIELDS = {PICTURE: [(2, 4), (10, 4), (14, 4), (18, 4), (22, 4), (26, 2), (28, 2), (30, 4), (34, 4),
                    (46, 4)],
          SOUND: [(4, 4), (16, 4), (20, 2), (22, 2), (24, 4), (28, 4), (32, 2), (34, 2), (40, 4)]}
EXTREMES = [0, 1, 2, 3, 0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFF, 0x8000, 0x7FFFFFFF, 0x80000000,
            0xFFFFFFFF, 0xFFFFFFFE, 100000, 1025, 1024, -1, -200, 10000000, 96001, 7999]


# the n-th mutation of the file, of its own seed whichever worker makes it, as a case whose
# refusal may give any reason, or none
def mutation(seed, target, n):
    rng = random.Random(f"{seed} {target} {n}")
    data = bytearray((MEDIA / target).read_bytes())
    kind = rng.choice(["flip", "flip header", "extreme", "extremes", "truncate", "append"] +
                      (["data first", "odd chunk"] if target == SOUND else []))
    if kind == "flip":
        for _ in range(rng.randint(1, 8)):
            data[rng.randrange(len(data))] = rng.randrange(256)
    elif kind == "flip header":
        for _ in range(rng.randint(1, 4)):
            data[rng.randrange(64)] ^= 1 << rng.randrange(8)
    elif kind in ("extreme", "extremes"):
        for _ in range(1 if kind == "extreme" else rng.randint(2, 4)):
            at, width = rng.choice(FIELDS[target])
            value = rng.choice(EXTREMES + [rng.getrandbits(32)])
            data[at:at + width] = u32(value)[:width]
    elif kind == "truncate":
        del data[rng.choice([rng.randrange(70), rng.randrange(len(data))]):]
    elif kind == "append":
        data += bytes(rng.randrange(256) for _ in range(rng.randint(1, 300)))
    elif kind == "data first":  # the sound's data chunk moved before its fmt chunk
        data = data[:12] + data[36:] + data[12:36]
    elif kind == "odd chunk":
        junk = bytes(rng.randrange(256) for _ in range(rng.choice([1, 3, 5, 77])))
        pad = b"\0" if rng.randrange(2) else b""
        at = rng.choice([12, 36])
        data = data[:at] + b"LIST" + u32(len(junk)) + junk + pad + data[at:]
    return f"{target} mutation {n} ({kind})", target, bytes(data), ""


def link_to_fifo(path):
    os.mkfifo(path + ".fifo")
    os.symlink(path + ".fifo", path)


# the hand-made cases: (name, file replaced, its bytes or what makes it, what the refusal says
# after the file's path); made only when a case's turn comes, so that this script stays small
# beside the game
def hand_made():
    title, main = (MEDIA / PICTURE).read_bytes(), (MEDIA / SOUND).read_bytes()
    rows = [title[at:at + 1200] for at in range(54, len(title), 1200)]
    top_down = put(title, 22, u32(-200))[:54] + b"".join(reversed(rows))
    samples = main[44:]
    large, cut_off = "picture too large (%d x %d)", "picture cut off (%d of %d bytes of pixels)"
    chunk = "sound cut off (a chunk of %d bytes"
    return [
        ("RLE8 100000 square, 1086 bytes", PICTURE,
         bmp_header(100000, 100000, 8, 1, 1078) + bytes(1024) + b"\0\x01" * 4,
         large % (100000, 100000)),
        ("0 bits 100000 square", PICTURE, bmp_header(100000, 100000, 0, 1, 1078) + bytes(1032),
         large % (100000, 100000)),
        ("RLE8 20000 square, 1080 bytes", PICTURE,
         bmp_header(20000, 20000, 8, 1, 1078) + bytes(1024) + b"\0\x01", large % (20000, 20000)),
        ("RLE4 24 bits, height 537 million", PICTURE,
         bmp_header(400, 537000000, 24, 2) + title[54:], large % (400, 537000000)),
        ("RLE8 runs past every row", PICTURE,
         bmp_header(8, 8, 8, 1, 1078) + bytes(1024) + b"\xff\x07" * 64 + b"\0\x01",
         "format not supported (RLE-compressed)"),
        ("pixels at 4 GB", PICTURE, put(title, 10, u32(0xFFFFFFF0)), cut_off % (0, 240000)),
        ("palette of 2 billion bytes", PICTURE, bmp_header(4, 4, 8, 0, 0x7FFFFFF0) + bytes(64),
         cut_off % (0, 16)),
        ("width 2^32 - 1", PICTURE, put(title, 18, u32(0xFFFFFFFF)),
         "picture has no pixels (-1 x 200)"),
        ("cut after the headers", PICTURE, title[:100], cut_off % (46, 240000)),
        ("empty picture", PICTURE, b"", "not a BMP picture"),
        ("top-down title", PICTURE, top_down, STARTS),
        ("rate 0", SOUND, put(main, 24, u32(0)), "sample rate 0 Hz not between"),
        ("no fmt chunk", SOUND,
         b"RIFF" + u32(len(samples) + 12) + b"WAVEdata" + u32(len(samples)) + samples,
         "sound has no format chunk before its data"),
        ("data of 2 GB", SOUND, put(main, 40, u32(0x7FFFFFFF)), chunk % 0x7FFFFFFF),
        ("fmt of 4 GB", SOUND, put(main, 16, u32(0xFFFFFFFF)), chunk % 0xFFFFFFFF),
        ("extensible PCM", SOUND,
         wav(0xFFFE, 1, 22050, 16, samples, fmt_extra=struct.pack("<HHIH", 22, 16, 4, 1) +
             bytes.fromhex("000000001000800000aa00389b71")), STARTS),
        ("odd chunk with its pad byte", SOUND,
         wav(1, 1, 22050, 16, samples, chunks_before=b"LIST" + u32(3) + b"abc\0"), STARTS),
        ("stereo 8-bit at 96000 Hz", SOUND, wav(1, 2, 96000, 8, samples[:96000 * 2]), STARTS),
        ("link to a device", PICTURE, functools.partial(os.symlink, "/dev/zero"),
         "not a regular file"),
        ("link to a FIFO", SOUND, link_to_fifo, "not a regular file"),
        ("no media folder", "", shutil.rmtree, NO_FOLDER),
    ]


# the game's exit status and resource use once it ends; None, None after the seconds or once
# stop() holds
def ended(game, seconds, stop=lambda: False):
    end = time.monotonic() + seconds
    while time.monotonic() < end and not stop():
        pid, status, usage = os.wait4(game.pid, os.WNOHANG)
        if pid:
            return status, usage
        time.sleep(0.05)
    return None, None


class Worker:  # an X server, a home with sound to nowhere and a copy of the media

    def __init__(self, game, work, sanitized):
        self.game, self.sanitized = game, sanitized
        self.dir = os.path.join(work, f"worker{threading.get_ident()}")
        # Allegro shows a message through xmessage where it can; this one can't, so it's printed
        for name, text in [("bin/xmessage", "#!/bin/sh\nexit 1\n"),
                           ("home/.asoundrc", 'pcm.!default { type file; slave.pcm "null"; '
                            'file "/dev/null"; format "raw" }\n'),
                           ("home/allegro.cfg", "[sound]\ndigi_card = ALSA\n")]:
            path = pathlib.Path(self.dir, name)
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        os.chmod(os.path.join(self.dir, "bin", "xmessage"), 0o755)
        # a display number drawn from thousands, never one that another server gave up a moment
        # before, on which the library's start-up may fail to open the display; the server itself
        # refuses one that is taken
        while True:
            number = random.SystemRandom().randrange(1000, 31000)
            self.xvfb = subprocess.Popen(["Xvfb", f":{number}", "-displayfd", "1", "-screen", "0",
                                          "640x480x24", "-nolisten", "tcp", "-noreset"],
                                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            if self.xvfb.stdout.readline():  # its number once it listens; nothing if it gave up
                break
        self.env = dict(os.environ, DISPLAY=f":{number}", HOME=os.path.join(self.dir, "home"),
                        PATH=os.path.join(self.dir, "bin") + ":" + os.environ["PATH"],
                        ASAN_OPTIONS="detect_leaks=0:hard_rss_limit_mb=400",
                        UBSAN_OPTIONS="print_stacktrace=1")

    def window_shown(self):
        return subprocess.run(["xdotool", "search", "--name", "^Moonstruck$"], env=self.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0

    # runs one case, in a fresh copy of the media (links to the real files) with the case's
    # content in place of the target, printed if it failed or if shown: its outcome, peak memory in
    # kB, seconds, and what went wrong or ""
    def run(self, name, target, content, reason, shown):
        media = os.path.join(self.dir, "run", "media")
        gone = time.monotonic() + QUIT_SECONDS  # the last game's window, once the server knows
        while self.window_shown() and time.monotonic() < gone:
            time.sleep(0.05)
        shutil.rmtree(media, ignore_errors=True)
        shutil.copytree(MEDIA, media, copy_function=os.symlink)
        if target:
            os.remove(os.path.join(media, target))
        if callable(content):
            content(os.path.join(media, target))
        else:
            pathlib.Path(media, target).write_bytes(content)
        # no core dumps; the address space bounded where the sanitizers don't reserve terabytes
        # of it. Set by a shell, so that the peak memory measured is the game's, not a fork of this
        limits = "ulimit -c 0" + ("" if self.sanitized else "; ulimit -v 1048576")
        out, err = os.path.join(self.dir, "out"), os.path.join(self.dir, "err")
        started = time.monotonic()
        with open(out, "wb") as o, open(err, "wb") as e:
            game = subprocess.Popen(["sh", "-c", limits + '; exec "$0"', self.game],
                                    cwd=os.path.dirname(media), env=self.env, stdout=o, stderr=e)
        status, usage = ended(game, START_SECONDS, self.window_shown)
        problem = ""
        if status is None:  # a refusal ends the game by itself; a game that started is ended
            if time.monotonic() - started > START_SECONDS:
                problem = "neither refused nor showed a window in time"
            time.sleep(0.4)  # the loading is over by now, or hung
            if target == SOUND:  # a game, which plays the background sound
                subprocess.run(["xdotool", "mousemove", "100", "100", "keydown", "Return",
                                "sleep", "0.5", "keyup", "Return"], env=self.env)
            os.kill(game.pid, signal.SIGTERM)
            status, usage = ended(game, QUIT_SECONDS)
            if status is None:
                os.kill(game.pid, signal.SIGKILL)
                _, status, usage = os.wait4(game.pid, 0)
                problem = problem or "still running 10 s after SIGTERM"
        seconds = time.monotonic() - started
        code = os.waitstatus_to_exitcode(status)
        said, errors = (open(name, errors="replace").read() for name in (out, err))
        outcome = "refused" if code == 1 else "started"
        where = os.path.realpath(media)
        says = f"Couldn't load {where}/{target}: {reason}" if target else f"{reason} {where}."
        expected = "started" if reason is STARTS else "refused" if reason else None
        problem = problem or next((why for wrong, why in [
            (code < 0, f"killed by signal {-code}"),
            ("Sanitizer" in errors or "runtime error" in errors, "a sanitizer report"),
            (usage.ru_maxrss > MEMORY_MAX_KB, f"{usage.ru_maxrss} kB of memory"),
            (code not in (0, 1), f"ended with exit code {code}"),
            (expected and outcome != expected, f"{outcome}, not {expected}: {said!r}"),
            (outcome == "refused" and says not in said, f"said {said!r}, not {says!r}"),
        ] if wrong), "")
        if problem:
            problem += "\n--- stdout:\n" + said + "--- stderr:\n" + errors[-3000:]
        if problem or shown:
            print(f"{name}: {outcome}, {usage.ru_maxrss} kB, {seconds:.1f} s"
                  f"{' -- ' + said.strip() if outcome == 'refused' else ''}"
                  f"{' -- FAIL: ' + problem if problem else ''}", flush=True)
        return outcome, usage.ru_maxrss, seconds, problem


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("game")
    parser.add_argument("work")
    parser.add_argument("--seed", type=int, default=12)
    parser.add_argument("--mutations", type=int, default=100, help="of each of the two files")
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--verbose", action="store_true", help="every mutation printed too")
    args = parser.parse_args()
    game = os.path.realpath(args.game)
    sanitized = b"libasan" in subprocess.run(["ldd", game], capture_output=True).stdout
    workers, mine = [], threading.local()  # each thread of the pool with a worker of its own

    def run(case):  # (None, n): the n-th hand-made case; (target, n): the target's n-th mutation
        target, n = case
        if not hasattr(mine, "worker"):
            mine.worker = Worker(game, args.work, sanitized)
            workers.append(mine.worker)
        made = hand_made()[n] if target is None else mutation(args.seed, target, n)
        return mine.worker.run(*made, args.verbose or target is None)

    cases = [(None, n) for n in range(len(hand_made()))]
    cases += [(target, n) for target in (PICTURE, SOUND) for n in range(args.mutations)]
    began = time.monotonic()
    try:
        with concurrent.futures.ThreadPoolExecutor(args.workers) as pool:
            results = list(pool.map(run, cases))
    finally:
        for w in workers:
            w.xvfb.terminate()

    # a spawned program's peak counts the memory of the process it was spawned from
    floor = open("/proc/self/status").read().split("VmHWM:")[1].split()[0]
    outcomes, memories, times, problems = zip(*results)
    print(f"{len(results)} cases in {time.monotonic() - began:.0f} s with {args.workers} workers"
          f" (seed {args.seed}, {'sanitized' if sanitized else 'plain'} build): refused"
          f" {outcomes.count('refused')}, started {outcomes.count('started')}, failed"
          f" {sum(map(bool, problems))}; peak memory {max(memories)} kB, this script's own {floor}"
          f" kB included; longest case {max(times):.1f} s")
    print("FAIL" if any(problems) else "PASS")
    sys.exit(1 if any(problems) else 0)


if __name__ == "__main__":
    main()
