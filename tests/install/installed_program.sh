#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program
# through its link in PREFIX/bin from another folder: an unattended write of a
# data file into the simulated radio. The run needs the control data, the
# initial image and the string tables, all looked up in the program folder, so
# it proves the program finds its folder through the link; the program folder
# is then compared with the build's, which the whole suite runs against.
#   installed_program.sh CMAKE BUILD_DIR PROGRAM_DIR
set -u
cmake=$1 build=$2 programDir=$3
work=$(mktemp -d)
# A home of the run's own: nothing of the user's is read or written.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
  XDG_CACHE_HOME="$work/home/cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"
sim=
cleanup() {
  [ -n "$sim" ] && { kill "$sim" && wait "$sim"; } 2>>"$work/sim.log"
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }
folder=$prefix/lib/velmora

# The link is relative, so the prefix can be moved, and resolves to the program.
[ -L "$prefix/bin/velmora" ] || fail "$prefix/bin/velmora is not a symbolic link"
case $(readlink "$prefix/bin/velmora") in /*) fail "the link is absolute: $(readlink "$prefix/bin/velmora")";; esac
[ "$(readlink -f "$prefix/bin/velmora")" = "$(readlink -f "$folder/velmora")" ] || fail "the link does not lead to $folder/velmora"

# The program folder holds what the build's holds and nothing else: no test
# programs, no benchmarks, no notes; the data byte for byte (an install may
# rewrite an executable's run path, so the programs are not compared).
diff <(cd "$programDir" && find . | sort) <(cd "$folder" && find . | sort) ||
  fail "the installed program folder has other files than $programDir"
diff -r -x velmora -x velmora-simradio "$programDir" "$folder" || fail "the installed data differ from $programDir"
for f in velmora velmora-simradio velmora.ini InitialP1RA.dat InitialP2RB.dat InitialP3RC.dat \
         CTCP1RAFixedData.dat DCSP3RCFixedData.dat strings/en.txt strings/ja.txt help/evelmora.hlp media/DING.WAV; do
  [ -f "$folder/$f" ] || fail "$f is missing from the program folder"
done
extra=$(cd "$folder" && ls | grep -E '^(test_|bench_)|^make_|^tonegen$')
[ -z "$extra" ] || fail "not the program's: $extra"

# The simulated radio from the installed folder, an all-zero memory.
"$folder/velmora-simradio" --family 2 --memory "$work/radio.R3D" --link "$work/radio" >"$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e "$work/radio" ] && break; sleep 0.05; done
[ -e "$work/radio" ] || { cat "$work/sim.log"; fail "the simulated radio did not start"; }

# A base-station data file: the installed initial image with channel 1 in use.
mkdir -p "$work/data" "$work/elsewhere" "$work/home"
cp "$folder/InitialP3RC.dat" "$work/data/myradio.R3D"
printf '\x55\x12\x7f\x00' | dd of="$work/data/myradio.R3D" conv=notrunc status=none

# Another folder, another user: nothing but the link leads to the program folder.
status=0
(cd "$work/elsewhere" && env QT_QPA_PLATFORM=offscreen VELMORA_COM1="$work/radio" \
   timeout 60 "$prefix/bin/velmora" /RZR340 /COM1 "/F$work/data/myradio") >"$work/run.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/run.log"; fail "the installed program exited with $status"; }

kill "$sim" && wait "$sim" 2>>"$work/sim.log"
sim=
# The radio holds the file up to the program's stamp.
cmp -n 2016 "$work/data/myradio.R3D" "$work/radio.R3D" || { cat "$work/sim.log"; fail "the radio's memory is not the file"; }
echo "installed into $prefix: the program ran through bin/velmora and wrote the radio"
