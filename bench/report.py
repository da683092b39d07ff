"""Runs Ludora's benchmarks and their references, and prints the tables of figures.

Called by bench/run, which builds the programs and generates the data first.
"""
import argparse
import json
import os
import platform
import statistics
import subprocess
import sys
import time


def timed(cmd, runs, env=None):
    """Median wall-clock seconds of a command."""
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        # What a command prints is thrown away, not read: reading unzip -p's 100 MB into
        # this script would be counted as unzip's time.
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, env=env)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def startup(cmd, runs):
    """Median milliseconds from launch to the shown window, and to the exit."""
    shown, total = [], []
    for _ in range(runs):
        env = dict(os.environ)
        start_ns = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
        env["LUDORA_BENCH_T0"] = str(start_ns)
        done = subprocess.run(cmd, check=True, capture_output=True, text=True, env=env)
        total.append((time.clock_gettime_ns(time.CLOCK_MONOTONIC) - start_ns) / 1e6)
        for line in done.stdout.splitlines():
            if line.startswith("shown "):
                shown.append(float(line.split()[1]))
    return statistics.median(shown), statistics.median(total)


def gbench(program, repetitions, smoke, file=None, only=None):
    """Median real time in milliseconds of each Google Benchmark of a program, on the
    benchmark file given (or the one in the environment), of those matching `only`."""
    args = [program, "--benchmark_format=json"]
    if only:
        args.append(f"--benchmark_filter={only}")
    if smoke:
        args += ["--benchmark_min_time=0"]
    else:
        args += [f"--benchmark_repetitions={repetitions}", "--benchmark_report_aggregates_only=true"]
    env = dict(os.environ, LUDORA_BENCH_FILE=file) if file else None
    done = subprocess.run(args, check=True, capture_output=True, text=True, env=env)
    results = {}
    for b in json.loads(done.stdout)["benchmarks"]:
        if "error_occurred" in b and b["error_occurred"]:
            sys.exit(f"{b['name']}: {b.get('error_message')}")
        name = b.get("run_name", b["name"]).split("/")[0]
        if smoke or b.get("aggregate_name") == "median":
            unit = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
            results[name] = b["real_time"] * unit
    return results


def memory(build, file):
    idle = subprocess.run([f"{build}/bench/bench_memory", "idle"], check=True,
                          capture_output=True, text=True).stdout.split()
    opened = subprocess.run([f"{build}/bench/bench_memory", "open", file], check=True,
                            capture_output=True, text=True).stdout.split()
    return int(idle[0]), int(opened[0])


def memory_with_find(build, file):
    """Peak kB with the file open after the find window's searches, the name box and an edit
    of every list."""
    used = subprocess.run([f"{build}/bench/bench_memory", "find", file], check=True,
                          capture_output=True, text=True).stdout.split()
    return int(used[0])


def interactions(build, smoke):
    """The 99th percentile, in milliseconds, of each interaction with a full list."""
    out = subprocess.run([f"{build}/bench/bench_interactions", "2" if smoke else "200"],
                         check=True, capture_output=True, text=True).stdout
    return [(name, float(p99)) for name, _, p99 in (line.split("\t") for line in out.splitlines())]


def scaling(a, per_lists, largest, runs):
    """Read, write and Open of collections of growing size: (names, bytes, read, write, Open)
    in milliseconds; the largest collection's figures are those of the main table."""
    rows = []
    for per_list in per_lists:
        names = per_list * 25
        if per_list == largest[0]:
            rows.append((names,) + largest[1:])
            continue
        file = os.path.join(a.work, f"scale-{per_list}.LDX")
        subprocess.run([f"{a.build}/bench/ldxgen", file, "--names-per-list", str(per_list)],
                       check=True, capture_output=True)
        b = gbench(f"{a.build}/bench/bench_collection_file", runs, a.smoke, file, "CollectionFile")
        b.update(gbench(f"{a.build}/bench/bench_window", runs, a.smoke, file, "OpenInWindow"))
        rows.append((names, os.path.getsize(file), b["BM_ReadCollectionFile"],
                     b["BM_WriteCollectionFile"], b["BM_OpenInWindow"]))
    return rows


def tellico_games(path, games):
    """A Tellico video-game collection (.tc) of seeded games on 15 platforms, every field of
    Tellico's game entry filled as Tellico 3.4 writes them: title, genres, year, publishers,
    developers, ESRB rating, description, personal rating, completed, purchase date and
    price, gift, loaned, cover, comments, id and the creation and change dates."""
    import random
    import zipfile
    from xml.sax.saxutils import escape
    rng = random.Random(1)
    platforms = ["Nintendo 64", "Atari Jaguar", "TurboGrafx-16", "PlayStation", "PlayStation 2",
                 "Super Nintendo", "Sega Genesis", "Sega Saturn", "Dreamcast", "GameCube", "Xbox",
                 "Nintendo DS", "Game Boy", "PC", "Neo Geo"]
    words = ("Super Mega Dragon Quest Fantasy Legend Star Racing Street Fighter Zelda Sonic "
             "Metal Gear Solid Final Knight Tales World Dark Souls Kart Party & Pokémon").split()
    genres = ["Action", "Adventure", "Platform", "Racing", "Role-Playing", "Shooter", "Sports",
              "Strategy", "Puzzle", "Fighting"]
    companies = ["Nintendo", "Sega", "Capcom", "Konami", "Namco", "Square", "Atari", "Hudson Soft",
                 "Sony Computer Entertainment", "Electronic Arts"]
    ratings = ["Everyone", "Everyone 10+", "Teen", "Mature", "Early Childhood", "Unrated"]
    prose = ("The classic returns with new worlds to explore, secret paths, hidden treasures and "
             "a story told across many chapters, with friends or alone.").split()
    date = '<{0} calendar="gregorian">\n    <year>{1}</year>\n    <month>{2:02d}</month>\n' \
           '    <day>{3:02d}</day>\n   </{0}>\n'

    def many(tag, values):
        inner = "".join(f"    <{tag}>{escape(v)}</{tag}>\n" for v in values)
        return f"   <{tag}s>\n{inner}   </{tag}s>\n"

    fields = [
        ("title", "General", 8, 1, 1, "Title", ""),
        ("genre", "General", 7, 0, 1, "Genre", ""),
        ("year", "General", 2, 4, 6, "Release Year", ""),
        ("publisher", "General", 7, 0, 1, "Publisher", ""),
        ("developer", "General", 7, 0, 1, "Developer", ""),
        ("certification", "General", 2, 4, 3, "ESRB Rating", ";".join(ratings)),
        ("platform", "General", 2, 4, 3, "Platform", ";".join(platforms)),
        ("description", "Description", 0, 4, 2, "Description", ""),
        ("rating", "Personal", 2, 4, 14, "Personal Rating", ""),
        ("completed", "Personal", 0, 4, 4, "Completed", ""),
        ("pur_date", "Personal", 0, 3, 1, "Purchase Date", ""),
        ("gift", "Personal", 0, 4, 4, "Gift", ""),
        ("pur_price", "Personal", 0, 4, 1, "Purchase Price", ""),
        ("loaned", "Personal", 0, 4, 4, "Loaned", ""),
        ("cover", "Cover", 0, 4, 10, "Cover", ""),
        ("comments", "Comments", 0, 4, 2, "Comments", ""),
    ]
    parts = ['<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE tellico PUBLIC '
             "'-//Robby Stephenson/DTD Tellico V11.0//EN' "
             "'http://periapsis.org/tellico/dtd/v11/tellico.dtd'>\n"
             '<tellico xmlns="http://periapsis.org/tellico/" syntaxVersion="11">\n'
             ' <collection type="11" title="My Games">\n  <fields>\n']
    for name, category, flags, fmt, kind, title, allowed in fields:
        extra = f' allowed="{escape(allowed)}"' if allowed else ""
        parts.append(f'   <field category="{category}" name="{name}" flags="{flags}" '
                     f'format="{fmt}"{extra} type="{kind}" title="{title}"/>\n')
    parts.append("  </fields>\n")
    for i in range(1, games + 1):
        title = " ".join(rng.choice(words) for _ in range(rng.randint(2, 4))) + f" {i}"
        year = rng.randint(1985, 2005)
        description = " ".join(rng.choice(prose) for _ in range(rng.randint(8, 30)))
        parts.append(
            f'  <entry id="{i}">\n   <title>{escape(title)}</title>\n'
            + many("genre", rng.sample(genres, rng.randint(1, 3)))
            + f"   <year>{year}</year>\n"
            + many("publisher", [rng.choice(companies)])
            + many("developer", [rng.choice(companies)])
            + f"   <certification>{rng.choice(ratings)}</certification>\n"
            + f"   <platform>{rng.choice(platforms)}</platform>\n"
            + f"   <description>{escape(description)}</description>\n"
            + f"   <rating>{rng.randint(1, 5)}</rating>\n"
            + f"   <completed>{rng.choice(['true', ''])}</completed>\n"
            + f"   <pur_date>{year + 1}-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d}</pur_date>\n"
            + f"   <gift>{rng.choice(['true', ''])}</gift>\n"
            + f"   <pur_price>${rng.randint(5, 60)}.99</pur_price>\n"
            + f"   <loaned>{rng.choice(['true', ''])}</loaned>\n"
            + f"   <cover>{rng.getrandbits(128):032x}.jpeg</cover>\n"
            + f"   <comments>{escape(' '.join(rng.choice(prose) for _ in range(rng.randint(0, 12))))}</comments>\n"
            + f"   <id>{i}</id>\n"
            + date.format("cdate", 2026, rng.randint(1, 12), rng.randint(1, 28))
            + date.format("mdate", 2026, rng.randint(1, 12), rng.randint(1, 28))
            + "  </entry>\n")
    parts.append(" </collection>\n</tellico>\n")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("tellico.xml", "".join(parts))


def peak_kb(cmd):
    """Peak resident memory of a command, in kB. GNU time measures it: a child forked from
    this script would count the script's own peak (the files it generated) as the child's."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M", *cmd], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    return int(result.stderr.strip().splitlines()[-1])


def covers_small(work):
    """A Tellico file of one game."""
    import zipfile
    path = os.path.join(work, "one.tc")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("tellico.xml", '<tellico><collection type="11"><entry><title>A</title>'
                                  "<platform>N64</platform></entry></collection></tellico>")
    return path


def hostile_files(work, big):
    """Files a stranger could send, with what they hold most: (name, path)."""
    import zipfile
    files = []
    bomb = os.path.join(work, "bomb.tc")  # small elements that unpack a thousandfold
    with zipfile.ZipFile(bomb, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("tellico.xml", '<tellico><collection type="11">' + "<e/>" * (big // 4))
    laughs = os.path.join(work, "laughs.xml")
    entities = "".join(f'<!ENTITY l{i} "{("&l%d;" % (i - 1)) * 10}">' for i in range(1, 10))
    with open(laughs, "w") as f:
        f.write(f'<!DOCTYPE tellico [<!ENTITY l0 "lol">{entities}]><tellico><collection '
                f'type="11"><entry><title>&l9;</title></entry></collection></tellico>')
    comment = os.path.join(work, "comment.tc")  # one stored member, one endless comment
    with zipfile.ZipFile(comment, "w", zipfile.ZIP_STORED) as z:
        z.writestr("tellico.xml", "<tellico><!--" + " " * big + "--></tellico>")
    covers = os.path.join(work, "covers.tc")  # tellico.xml beside a large folder of covers
    with zipfile.ZipFile(covers, "w", zipfile.ZIP_STORED) as z:
        z.writestr("images/cover.png", os.urandom(big))
        z.writestr("tellico.xml", '<tellico><collection type="11"><entry><title>A</title>'
                                  "<platform>N64</platform></entry></collection></tellico>")
    return [("a zip bomb", bomb), ("billion laughs", laughs),
            ("a stored member of one comment", comment), ("a folder of covers", covers)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--smoke", action="store_true")
    a = parser.parse_args()
    runs = 1 if a.smoke else 5
    data = os.path.join(a.work, "largest.LDX")
    names = os.path.join(a.work, "names.txt")
    per_list = int(os.environ["LUDORA_BENCH_NAMES_PER_LIST"])

    sort_ms = 1e3 * timed(["sort", "-f", names, "-o", os.path.join(a.work, "sorted.txt")], runs,
                          env=dict(os.environ, LC_ALL="C"))
    # The names of the other machine's collection that the merge benchmarks take in.
    their_names = os.path.join(a.work, "their-names.txt")
    subprocess.run([f"{a.build}/bench/ldxgen", os.path.join(a.work, "theirs.LDX"), their_names,
                    "--names-per-list", str(per_list), "--seed", "2"], check=True)
    sort_both_ms = 1e3 * timed(["sort", "-f", names, their_names, "-o",
                                os.path.join(a.work, "sorted.txt")], runs,
                               env=dict(os.environ, LC_ALL="C"))
    # A copy that ends as the program's save does, with the data on the disk.
    copy_ms = 1e3 * timed(["dd", f"if={data}", f"of={os.path.join(a.work, 'copy.LDX')}", "bs=1M",
                           "conv=fsync", "status=none"], runs)

    b = {}
    for program in ("bench_collection_file", "bench_window", "bench_printout"):
        b.update(gbench(f"{a.build}/bench/{program}", 3 if not a.smoke else 1, a.smoke))
    starts = 1 if a.smoke else 15
    label_shown, label_total = startup([f"{a.build}/bench/minimal_qt", "label"], starts)
    empty_shown, _ = startup([f"{a.build}/bench/minimal_qt"], starts)
    app_shown, app_total = startup([f"{a.build}/bench/bench_startup"], starts)
    idle_kb, open_kb = memory(a.build, data)
    tellico = os.path.join(a.work, "games.tc")
    tellico_games(tellico, 1000 if a.smoke else 100000)
    unzip_ms = 1e3 * timed(["unzip", "-p", tellico], runs)
    import_ms = 1e3 * timed([f"{a.build}/ldxtool", "import", tellico, "-o",
                             os.path.join(a.work, "games.LDX")], runs)
    duplicates_ms = 1e3 * timed([f"{a.build}/ldxtool", "duplicates", data], runs)
    small_import_kb = peak_kb([f"{a.build}/ldxtool", "import", covers_small(a.work),
                               "-o", os.path.join(a.work, "small.LDX")])
    hostile = [(name, peak_kb([f"{a.build}/ldxtool", "import", path, "-o",
                               os.path.join(a.work, "hostile.LDX")]))
               for name, path in hostile_files(a.work, 1 << 20 if a.smoke else 256 << 20)]
    find_kb = memory_with_find(a.build, data)
    file_kb = os.path.getsize(data) / 1024

    rows = [
        # figure, value, unit, reference, reference value, target ratio or absolute limit
        ("read the largest file", b["BM_ReadCollectionFile"], "ms", "sort -f", sort_ms,
         ("x", 0.15)),
        ("Open in the window, end to end", b["BM_OpenInWindow"], "ms", "sort -f", sort_ms,
         ("x", 0.2)),
        ("write the largest file (with its fsync)", b["BM_WriteCollectionFile"], "ms",
         "dd bs=1M conv=fsync", copy_ms, ("x", 1.5)),
        ("start-up to shown window", app_shown, "ms", "Qt program showing a label",
         label_shown, ("x", 1.2)),
        ("start-up to shown window", app_shown, "ms", "Qt program, empty window", empty_shown,
         None),
        ("start-up to exit", app_total, "ms", "Qt program showing a label", label_total, None),
        ("printout of three full lists, recording surface", b["BM_PrintoutRecording"], "ms",
         "sort -f", sort_ms, ("x", 0.5)),
        ("printout of three full lists, into a PDF", b["BM_PrintoutPdf"], "ms", None, None,
         ("ms", 1000.0)),
        ("import of a 100,000-game Tellico file", import_ms, "ms", "unzip -p", unzip_ms,
         ("x", 4.0)),
        ("memory with the largest collection open (peak RSS above idle)",
         (open_kb - idle_kb) / 1024, "MB", "file size", file_kb / 1024, ("x", 2.0)),
        ("memory with the largest collection open and the find window used",
         (find_kb - idle_kb) / 1024, "MB", "file size", file_kb / 1024, ("x", 3.0)),
        ("ldxtool duplicates of the largest file", duplicates_ms, "ms", "sort -f", sort_ms,
         ("x", 0.5)),
        ("merge another largest collection into the largest, two ways", b["BM_MergeTwoWays"],
         "ms", "sort -f of both", sort_both_ms, ("x", 1.0)),
        ("the same, three ways (the file as the base)", b["BM_MergeThreeWays"], "ms",
         "sort -f of both", sort_both_ms, ("x", 1.0)),
    ]
    # What a stranger's file can make the import hold, above what a file of one game does.
    rows += [(f"import of {name}, peak memory above a small import",
              (kb - small_import_kb) / 1024, "MB", None, None, ("MB", 64.0))
             for name, kb in hostile]
    # One frame: each interaction with a list of per_list names, until the window is idle;
    # the slowest of a few where the row says so.
    rows += [(name, p99, "ms", None, None, ("ms", 100.0)) if name.endswith("slowest") else
             (f"{name}, p99", p99, "ms", None, None, ("ms", 16.0))
             for name, p99 in interactions(a.build, a.smoke)]

    print(f"Machine: {platform.node()}, {os.cpu_count()} cores, {platform.platform()}")
    print(f"Data: {os.path.getsize(data):,} bytes, {per_list * 25:,} names"
          + (" (smoke run: small collection, figures mean nothing)" if a.smoke else ""))
    print()
    print("| figure | measured | reference | ratio | target | met |")
    print("|---|---|---|---|---|---|")
    failed = 0
    for figure, value, unit, ref, ref_value, target in rows:
        ratio = value / ref_value if ref_value else None
        ref_text = f"{ref} {ref_value:.1f} {unit}" if ref else "-"
        ratio_text = f"{ratio:.2f}" if ratio is not None else "-"
        if target is None:
            target_text, met = "-", "-"
        elif target[0] == "x":
            target_text = f"at most {target[1]} x"
            met = "yes" if ratio <= target[1] else "NO"
        else:
            target_text = f"at most {target[1]:g} {target[0]}"
            met = "yes" if value <= target[1] else "NO"
        failed += met == "NO"
        print(f"| {figure} | {value:.2f} {unit} | {ref_text} | {ratio_text} | {target_text} | {met} |")

    largest = (per_list, os.path.getsize(data), b["BM_ReadCollectionFile"],
               b["BM_WriteCollectionFile"], b["BM_OpenInWindow"])
    sizes = [2, 20, 200, per_list] if a.smoke else [40, 400, 4000, per_list]
    print()
    print("Growth: time per name stays flat when the cost grows linearly.")
    print()
    print("| names | file | read | write | Open | read per name | write per name | Open per name |")
    print("|---|---|---|---|---|---|---|---|")
    for count, size, read, write, opened in scaling(a, sizes, largest, 3):
        per = [f"{1e3 * t / count:.3f} us" for t in (read, write, opened)]
        print(f"| {count:,} | {size / 1024:,.0f} KB | {read:.2f} ms | {write:.2f} ms | "
              f"{opened:.2f} ms | {' | '.join(per)} |")
    if not a.smoke and failed:
        print(f"\n{failed} target(s) not met")


if __name__ == "__main__":
    main()
