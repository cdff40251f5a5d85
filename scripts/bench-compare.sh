#!/bin/bash
# Compares the benchmarks of two commits on this machine, in one run.
#
#   scripts/bench-compare.sh BASE [BENCH...]
#
# Builds BASE and HEAD (each from `git archive`, so the working tree's changes
# are not part of HEAD; commit first) in Release with the benchmarks, under
# build-bench/, then runs each chosen benchmark program of both builds
# alternately, REPS times (default 5), and prints for every benchmark the
# median CPU and real time of each build and the ratio HEAD/BASE (a benchmark
# only one of them has: its own figures, no ratio). BENCH names programs of
# bench/ (bench_scn_oob, bench_mapview ...); by default every program both
# commits have. A program that BASE does not have yet runs at HEAD alone and
# shows HEAD's figures. A BASE that predates the presets or the file renames works
# too: the builds use plain cmake options.
#
# Environment: REPS (repetitions, default 5), FILTER (a --benchmark_filter
# regex), JOBS (build jobs, default 2), KEEP=1 keeps the raw JSON results
# (their folder is printed).
set -euo pipefail

if [ $# -lt 1 ] || [ "$1" = -h ] || [ "$1" = --help ]; then
    sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi
base_ref=$1
shift
reps=${REPS:-5}
jobs=${JOBS:-2}
top=$(git rev-parse --show-toplevel)
cd "$top"
base=$(git rev-parse --verify "$base_ref^{commit}")
head=$(git rev-parse --verify "HEAD^{commit}")
root=$top/build-bench
mkdir -p "$root"

# The programs of bench/ a commit has, one a line.
programs() { git ls-tree --name-only "$1" bench/ | sed -n 's|^bench/\(bench_[a-z0-9_]*\)\.cpp$|\1|p'; }

if [ $# -gt 0 ]; then
    wanted=("$@")
else
    mapfile -t wanted < <(comm -12 <(programs "$base" | sort) <(programs "$head" | sort))
fi
# What each side runs: HEAD every chosen program, BASE those it has.
base_wanted=()
for b in "${wanted[@]}"; do
    programs "$head" | grep -qx "$b" || { echo "$b is not a benchmark of ${head:0:10}" >&2; exit 2; }
    if programs "$base" | grep -qx "$b"; then
        base_wanted+=("$b")
    else
        echo "$b is not a benchmark of ${base:0:10}: HEAD's figures only" >&2
    fi
done

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# Source and Release build of a commit, made once and kept by its hash.
build() {
    local commit=$1 src=$root/src-${1:0:12} bin=$root/build-${1:0:12}
    shift
    [ $# -gt 0 ] || return 0
    if [ ! -e "$src/.complete" ]; then
        rm -rf "$src"
        mkdir -p "$src"
        git archive "$commit" | tar -x -C "$src"
        touch "$src/.complete"
    fi
    if [ ! -e "$bin/build.ninja" ]; then
        cmake -S "$src" -B "$bin" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNO_BENCH=ON -DBUILD_TESTING=OFF \
            "${launcher[@]}" >"$root/configure-${commit:0:12}.log" 2>&1 ||
            { echo "configuring ${commit:0:10} failed: $root/configure-${commit:0:12}.log" >&2; exit 1; }
    fi
    nice cmake --build "$bin" -j"$jobs" --target "$@" >"$root/build-${commit:0:12}.log" 2>&1 ||
        { echo "building ${commit:0:10} failed: $root/build-${commit:0:12}.log" >&2; exit 1; }
}

echo "BASE ${base:0:10} ($(git log -1 --format=%s "$base" | cut -c1-60))"
echo "HEAD ${head:0:10} ($(git log -1 --format=%s "$head" | cut -c1-60))"
echo "building ..."
build "$base" "${base_wanted[@]}"
build "$head" "${wanted[@]}"

out=$(mktemp -d "$root/results.XXXXXX")
[ "${KEEP:-0}" = 1 ] || trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
filter=()
[ -n "${FILTER:-}" ] && filter=(--benchmark_filter="$FILTER")
# Alternately, so that both builds see the same machine load.
for ((r = 1; r <= reps; r++)); do
    for b in "${wanted[@]}"; do
        for side in base head; do
            [ $side = base ] && c=$base || c=$head
            [ $side = base ] && ! printf '%s\n' "${base_wanted[@]}" | grep -qx "$b" && continue
            echo "run $r/$reps: $b $side" >&2
            "$root/build-${c:0:12}/bench/$b" "${filter[@]}" --benchmark_format=json \
                --benchmark_out="$out/$side-$b-$r.json" --benchmark_out_format=json >/dev/null
        done
    done
done

python3 - "$out" <<'EOF'
import glob, json, os, statistics, sys

out = sys.argv[1]
times = {}  # (program, benchmark) -> side -> (cpu list, real list, unit)
for path in sorted(glob.glob(os.path.join(out, "*.json"))):
    side, rest = os.path.basename(path).split("-", 1)
    program = rest.rsplit("-", 1)[0]
    with open(path) as f:
        data = json.load(f)
    for b in data.get("benchmarks", []):
        if b.get("run_type", "iteration") != "iteration" or "error_occurred" in b:
            continue
        entry = times.setdefault((program, b["name"]), {}).setdefault(side, ([], [], b["time_unit"]))
        entry[0].append(b["cpu_time"])
        entry[1].append(b["real_time"])

rows = [("benchmark", "base cpu", "head cpu", "cpu ratio", "base real", "head real", "real ratio")]
for (program, name), sides in sorted(times.items()):
    # A benchmark only one of them has shows its own figures, without a ratio.
    med = {side: (statistics.median(v[0]), statistics.median(v[1]), v[2]) for side, v in sides.items()}
    fig = lambda side, k: f"{med[side][k]:.3f} {med[side][2]}" if side in med else "-"
    ratio = lambda k: f"{med['head'][k] / med['base'][k]:.2f}" if len(med) == 2 and med["base"][k] else "-"
    rows.append((f"{program}/{name}", fig("base", 0), fig("head", 0), ratio(0), fig("base", 1), fig("head", 1),
                 ratio(1)))
widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
for k, r in enumerate(rows):
    print("  ".join(c.ljust(w) if i == 0 else c.rjust(w) for i, (c, w) in enumerate(zip(r, widths))))
    if k == 0:
        print("  ".join("-" * w for w in widths))
print(f"(medians of {len({os.path.basename(p).rsplit('-', 1)[1] for p in glob.glob(os.path.join(out, '*.json'))})} "
      "alternate runs; ratio = HEAD / BASE)")
EOF
[ "${KEEP:-0}" = 1 ] && echo "raw results: $out"
exit 0
