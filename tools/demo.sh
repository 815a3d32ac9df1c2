#!/bin/sh
# make demo: a simulated radio with sample channels on a pseudo-terminal, and the programming
# software set to its port, so that reading, editing and writing can be tried without a radio.
#
#   tools/demo.sh BUILD_DIR [--check]
#
# Everything lives in BUILD_DIR/demo (or $KVX50_DEMO_DIR): the program folder home/ (with its
# backups/), the sample channels sample.csv and the data file sample.dat made from them, and
# radio.bin, the simulated radio's memory, saved after every transfer. The radio's port is the
# link demo/radio. KVX50_DEMO_BAUD sets the emulated wire speed (default 115200; 9600 is the
# real cable's, a full read then takes about 20 s).
#
# With --check no window opens: the radio is verified against the sample data instead (for
# tests and for machines without a display).
set -eu

build=${1:-build}
check=${2:-}
bin=$(cd "$build" && pwd)/bin
demo=${KVX50_DEMO_DIR:-$(cd "$build" && pwd)/demo}
baud=${KVX50_DEMO_BAUD:-115200}

programs="kvx50-cli kvx50-radiosim"
[ "$check" = --check ] || programs="kvx50 $programs"
for p in $programs; do
  if [ ! -x "$bin/$p" ]; then
    echo "demo.sh: $bin/$p is not built (make build)" >&2
    exit 1
  fi
done

rm -rf "$demo"
mkdir -p "$demo/home"
cli() { "$bin/kvx50-cli" --home "$demo/home" "$@"; }

# The sample radio's channels, as a programmer's CSV: repeaters with their shift and access
# tone, simplex channels, a DCS channel and a receive-only weather channel, in 136-174 MHz.
cat > "$demo/sample.csv" <<'CSV'
Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Power,Comment
1,RPT-N,145.650000,-,0.600000,Tone,88.5,88.5,023,NN,FM,12.50,,High,north repeater
2,RPT-S,145.725000,-,0.600000,TSQL,103.5,103.5,023,NN,FM,12.50,,High,south repeater
3,RPT-E,146.940000,-,0.600000,Tone,100.0,100.0,023,NN,FM,12.50,,High,
4,RPT-W,147.120000,+,0.600000,Tone,123.0,123.0,023,NN,FM,12.50,,High,
5,CALL,146.520000,,0.000000,,88.5,88.5,023,NN,FM,12.50,,Middle,national simplex
6,SMPX1,146.550000,,0.000000,,88.5,88.5,023,NN,FM,12.50,,Low,
7,SMPX2,147.555000,,0.000000,,88.5,88.5,023,NN,NFM,12.50,S,Low,
8,DCS,147.450000,,0.000000,DTCS,88.5,88.5,023,NN,FM,12.50,,Middle,
9,EVENT,145.550000,,0.000000,TSQL,67.0,67.0,023,NN,NFM,12.50,,Low,
10,MARINE,156.800000,,0.000000,,88.5,88.5,023,NN,FM,25.00,,High,
11,WX1,162.550000,off,0.000000,,88.5,88.5,023,NN,FM,25.00,S,High,weather: receive only
12,WX2,162.400000,off,0.000000,,88.5,88.5,023,NN,FM,25.00,S,High,weather: receive only
CSV
cli new --band 3 -o "$demo/sample.dat" >/dev/null
cli csv-import "$demo/sample.dat" "$demo/sample.csv" --replace -o "$demo/sample.dat" 2>/dev/null

# The radio: its own sample identity and memory, then the sample channels written into it
# over the simulated cable.
"$bin/kvx50-radiosim" --save "$demo/radio.bin" --link "$demo/radio" --baud "$baud" \
  >"$demo/radiosim.out" 2>"$demo/radiosim.log" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM
tries=0
while [ ! -s "$demo/radiosim.out" ] || [ ! -e "$demo/radio" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 $sim 2>/dev/null; then
    echo "demo.sh: kvx50-radiosim did not start:" >&2
    cat "$demo/radiosim.log" >&2
    exit 1
  fi
  sleep 0.1
done
cli write --port "$demo/radio" "$demo/sample.dat" 2>/dev/null

# The program's port is the radio's.
sed -i "s|^comPort=.*|comPort=$demo/radio|" "$demo/home/language/mysetup.ini"

if [ "$check" = --check ]; then
  cli verify --port "$demo/radio" "$demo/sample.dat" 2>/dev/null
  echo "demo.sh: the simulated radio on $demo/radio holds the sample channels"
  exit 0
fi

speed="wire speed $baud baud"
[ "$baud" != 0 ] || speed="no wire delay"
cat <<TEXT
A simulated radio with $(grep -c '^[0-9]' "$demo/sample.csv") sample channels is on $demo/radio
($speed); the program is set to that port.

  Program > Read from Radio   reads the radio into the channel list
  Program > Write to Radio    writes the edited channels back
  Program > Verify radio      compares the radio with what is in the window
  File > Open backups folder  every read and write is kept there

The radio's memory is kept in $demo/radio.bin. Closing the window stops the radio.
TEXT
"$bin/kvx50" --home "$demo/home" &
app=$!
trap 'kill $app $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
wait $app
