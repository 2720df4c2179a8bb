#!/bin/sh
# Times the veilgrid command on generated grid pairs and, when GDAL is installed, the GDAL
# pipeline that does the same work (gdal_calc.py with --extent=intersect, then gdal_translate to
# an ASCII grid) on the same pair in the same run. Prints, per pair, the medians of RUNS runs of
# wall time, CPU time (user + system) and peak resident memory, the MB/s of input (both grids),
# and the ratios to GDAL.
#
# usage: bench/run_command.sh [size ...]       (from the source folder; default 1000 4000 10000)
#   RUNS=5        runs per pair (default 3)
#   BUILD=dir     build folder (default build-bench; configured and built here, Release)
#   KEEP=1        keep the generated grids (about 2 x 220 MB at 10000)
#   DECIMALS="4000" sizes that are also timed with 30% decimal cells (default 4000)
# Needs /usr/bin/time. GDAL: apt-get install gdal-bin python3-gdal.
set -eu

SIZES=${*:-1000 4000 10000}
RUNS=${RUNS:-3}
BUILD=${BUILD:-build-bench}
DECIMALS=${DECIMALS:-4000}
FLAG=1
EXCLUDE=99

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVEILGRID_BENCHMARKS=ON -DVEILGRID_TESTS=OFF \
    >/dev/null
cmake --build "$BUILD" -j2 --target veilgrid veilgrid_pairgen >/dev/null
VEILGRID=$(pwd)/$BUILD/veilgrid
PAIRGEN=$(pwd)/$BUILD/bench/veilgrid_pairgen
WORK=$(pwd)/$BUILD/pairs
mkdir -p "$WORK"
cd "$WORK"

HAVE_GDAL=0
if command -v gdal_calc.py >/dev/null 2>&1 && command -v gdal_translate >/dev/null 2>&1; then
    HAVE_GDAL=1
fi

# Median of the numbers on standard input.
median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs "$@" RUNS times under /usr/bin/time; sets WALL, CPU (seconds) and RSS (MiB) to medians.
measure() {
    : >times.txt
    i=0
    while [ "$i" -lt "$RUNS" ]; do
        /usr/bin/time -f "%e %U %S %M" -o time.txt "$@" >run.txt 2>&1 || {
            echo "failed: $*" >&2
            cat run.txt >&2
            exit 1
        }
        # The command reports failures on standard output: it must print nothing.
        if [ -s run.txt ]; then
            echo "failed: $*" >&2
            cat run.txt >&2
            exit 1
        fi
        tail -n 1 time.txt >>times.txt
        i=$((i + 1))
    done
    WALL=$(awk '{ print $1 }' times.txt | median)
    CPU=$(awk '{ print $2 + $3 }' times.txt | median)
    RSS=$(awk '{ print $4 / 1024 }' times.txt | median)
}

# The GDAL pipeline: mask, source, flag, exclude.
GDAL_PIPELINE='gdal_calc.py -A "$1" -B "$2" --extent=intersect --calc="where(A==$3,$4,A)" \
    --hideNoData --NoDataValue=-9999 --outfile=gdal.tif --overwrite --quiet &&
    gdal_translate -q -of AAIGrid gdal.tif gdal.asc'

echo "$RUNS runs each, medians; input = both grids; $(nproc) cores"
printf '%-16s %8s %8s %9s %8s' "pair" "wall s" "CPU s" "RSS MiB" "MB/s"
[ "$HAVE_GDAL" = 1 ] && printf ' | %8s %8s %9s | %7s %7s %7s' "GDAL s" "CPU s" "RSS MiB" \
    "wall" "CPU" "RSS"
printf '\n'

for SIZE in $SIZES; do
    VARIANTS=codes
    for D in $DECIMALS; do
        [ "$D" = "$SIZE" ] && VARIANTS="codes decimals"
    done
    for VARIANT in $VARIANTS; do
        MASK=mask-$SIZE-$VARIANT.asc
        SOURCE=source-$SIZE-$VARIANT.asc
        [ -f "$MASK" ] && [ -f "$SOURCE" ] || "$PAIRGEN" "$SIZE" "$VARIANT" "$MASK" "$SOURCE"
        BYTES=$(($(wc -c <"$MASK") + $(wc -c <"$SOURCE")))
        measure "$VEILGRID" "$MASK" "$FLAG" "$EXCLUDE" "$SOURCE" out.asc
        V_WALL=$WALL V_CPU=$CPU V_RSS=$RSS
        printf '%-16s %8.2f %8.2f %9.1f %8.0f' "${SIZE}² $VARIANT" "$V_WALL" "$V_CPU" "$V_RSS" \
            "$(echo "$BYTES $V_WALL" | awk '{ print $1 / 1e6 / ($2 > 0 ? $2 : 0.01) }')"
        if [ "$HAVE_GDAL" = 1 ]; then
            # Decimal cells are read as doubles, or GDAL rounds them to single precision.
            if [ "$VARIANT" = decimals ]; then
                export AAIGRID_DATATYPE=Float64
            else
                unset AAIGRID_DATATYPE
            fi
            measure sh -c "$GDAL_PIPELINE" sh "$MASK" "$SOURCE" "$FLAG" "$EXCLUDE"
            unset AAIGRID_DATATYPE
            printf ' | %8.2f %8.2f %9.1f | %7.3f %7.3f %7.3f' "$WALL" "$CPU" "$RSS" \
                "$(echo "$V_WALL $WALL" | awk '{ print $1 / $2 }')" \
                "$(echo "$V_CPU $CPU" | awk '{ print $1 / $2 }')" \
                "$(echo "$V_RSS $RSS" | awk '{ print $1 / $2 }')"
            rm -f gdal.tif gdal.asc gdal.prj gdal.asc.aux.xml
        fi
        printf '\n'
        rm -f out.asc
        if [ "${KEEP:-0}" != 1 ] && [ "$SIZE" -ge 4000 ]; then
            rm -f "$MASK" "$SOURCE"
        fi
    done
done
rm -f times.txt time.txt run.txt
