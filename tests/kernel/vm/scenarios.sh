# The scenarios run inside the test VM, all through corvane-cli without --simulate:
# hidapi over hidraw against corvane-uhid's kernel devices, udev for arrival and removal.
# Each prints "CORVANE-VM: PASS name Nms" or "CORVANE-VM: FAIL name" with the reasons.
PD=/opt/corvane
SOCK=/run/corvane-uhid.sock
# A second daemon plays a mouse of the family under ids no catalogue lists.
SOCK2=/run/corvane-uhid-unknown.sock
# Every simulated device fills the reply bytes the protocol leaves open at random: the tool
# must rely on the status byte alone.
export CORVANE_SIM_FAULTS="wired:reply_byte0=random receiver:reply_byte0=random wired:reply_bytes23=random receiver:reply_bytes23=random"
T=/tmp/out
mkdir -p $T
passes=0
failures=0

use_home() {
  export HOME=$1 XDG_CONFIG_HOME=$1/.config XDG_DATA_HOME=$1/.local/share
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
}
use_home /tmp/home

now_ms() { awk '{ printf "%d", $1 * 1000 }' /proc/uptime; }
cli() { corvane-cli --program-dir $PD "$@"; }
ctl() { corvane-uhid ctl $SOCK "$@"; }
ctl2() { corvane-uhid ctl $SOCK2 "$@"; }

# expect FILE PATTERN: the file holds the (basic regular expression) pattern.
expect() {
  grep -q -- "$2" "$1" && return 0
  echo "expected '$2' in $1:"
  cat "$1"
  return 1
}
refuse() {
  grep -q -- "$2" "$1" || return 0
  echo "did not expect '$2' in $1:"
  cat "$1"
  return 1
}

refuse_dmesg() {
  dmesg >$T/dmesg.txt
  refuse $T/dmesg.txt "$1"
}

# wait_for FILE PATTERN TENTHS: until the pattern shows up in the file.
wait_for() {
  for _ in $(seq "$3"); do
    grep -q -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "timed out waiting for '$2' in $1"
  return 1
}

# wait_nodes N: until N hidraw nodes exist and udev has handled their events.
wait_nodes() {
  for _ in $(seq 100); do
    [ "$(ls /sys/class/hidraw | wc -l)" -eq "$1" ] && break
    sleep 0.1
  done
  udevadm settle --timeout=20
  [ "$(ls /sys/class/hidraw | wc -l)" -eq "$1" ] || { echo "expected $1 hidraw nodes:"; ls /sys/class/hidraw; return 1; }
}

run() {
  name=$1
  shift
  started=$(now_ms)
  if "$@" >$T/$name.why 2>&1; then
    echo "CORVANE-VM: PASS $name $(($(now_ms) - started))ms"
    passes=$((passes + 1))
  else
    echo "CORVANE-VM: FAIL $name $(($(now_ms) - started))ms"
    sed 's/^/CORVANE-VM:   /' $T/$name.why
    failures=$((failures + 1))
  fi
}

plug_in() {
  corvane-uhid serve --socket $SOCK --program-dir $PD >$T/uhid.log 2>&1 &
  wait_for $T/uhid.log "ready" 100 || return 1
  ctl create both || return 1
  wait_nodes 8
}

devices() {
  cli --json devices >$T/devices.json || return 1
  expect $T/devices.json '"vid":4617,"pid":1,"device_type":11,"mode":0,"online":1,"dev_id":"KP11"' &&
    expect $T/devices.json '"vid":4617,"pid":2,"device_type":11,"mode":1,"online":1,"dev_id":"KP11"' &&
    [ "$(grep -o '"online":' $T/devices.json | wc -l)" -eq 2 ] || { echo "not two entries"; return 1; }
}

info() {
  cli --json info >$T/info.json || return 1
  expect $T/info.json '"device_type":11,"connection":0,"sensor":53,"dpi_min":100,"dpi_max":16000,"rate_class":7' &&
    expect $T/info.json '"battery_a":0,"battery_b":90,"reachable":1'
}

dpi_write() {
  cli set dpi_group0_value 1600 && cli task 9 || return 1
  ctl state >$T/state.txt && expect $T/state.txt '^dpi_code0=16$' || return 1
  # Every command must have reached the firmware as a whole 64-byte report.
  ctl stats >$T/stats.txt && expect $T/stats.txt 'wired devices=4 outputs=[1-9]' && refuse $T/stats.txt 'short=[1-9]'
}

readback() {
  (
    use_home /tmp/home-readback
    cli readback && cli get dpi_group0_value >$T/readback.txt
  ) || return 1
  expect $T/readback.txt '^1600$'
}

notify_dpi() {
  cli --json poll 1 8000 >$T/poll-dpi.json 2>$T/poll-dpi.err &
  poller=$!
  wait_for $T/poll-dpi.err "polling" 100 || return 1
  ctl dpi >$T/dpi.txt || return 1
  wait $poller || { cat $T/poll-dpi.err; return 1; }
  index=$(sed -n 's/.*dpi_index=\([0-9]*\).*/\1/p' $T/dpi.txt)
  expect $T/poll-dpi.json "\"type\":194,\"dpi_index\":$index,"
}

firmware() {
  head -c 4000 /dev/urandom >$T/fw.bin
  cli firmware flash $T/fw.bin || return 1
  ctl upgrade wired $T/fw.got >$T/upgrade.txt || return 1
  # uhid keeps 32 output events; a dropped one is the harness's fault, not the tool's.
  refuse_dmesg 'queue is full' || return 1
  expect $T/upgrade.txt 'phase=complete blocks=250 rejected=0 bytes=4000' && cmp $T/fw.bin $T/fw.got &&
    ctl stats >$T/stats.txt && refuse $T/stats.txt 'short=[1-9]'
}

notify_link() {
  ctl destroy wired && wait_nodes 4 || return 1
  cli --json poll 2 15000 >$T/poll-link.json 2>$T/poll-link.err &
  poller=$!
  wait_for $T/poll-link.err "polling" 100 || return 1
  ctl mouse off || return 1
  wait_for $T/poll-link.json '"type":192' 80 || return 1
  ctl mouse on || return 1
  wait $poller || { cat $T/poll-link.err; return 1; }
  sed -n 1p $T/poll-link.json >$T/link-off.json
  sed -n 2p $T/poll-link.json >$T/link-on.json
  expect $T/link-off.json '"type":192,.*"link":false' &&
    expect $T/link-off.json '"pid":2,"device_type":11,"mode":1,"online":0' &&
    expect $T/link-on.json '"type":192,.*"link":true' &&
    expect $T/link-on.json '"pid":2,"device_type":11,"mode":1,"online":1' || return 1
  ctl create wired && wait_nodes 8
}

hotplug() {
  cli --json monitor 8 >$T/monitor.json 2>$T/monitor.err &
  monitor=$!
  wait_for $T/monitor.err "watching" 100 || return 1
  ctl destroy receiver && wait_nodes 4 || return 1
  ctl create receiver && wait_nodes 8 || return 1
  for _ in $(seq 100); do kill -0 $monitor 2>/dev/null || break; sleep 0.1; done
  kill $monitor 2>/dev/null && { echo "monitor did not see 8 events"; cat $T/monitor.json; return 1; }
  wait $monitor || return 1
  grep '"action":"removal"' $T/monitor.json | grep '"task":3' >$T/removal.json
  grep '"action":"arrival"' $T/monitor.json | grep '"task":2' >$T/arrival.json
  [ "$(grep -c '"action":"removal"' $T/monitor.json)" -eq 4 ] &&
    [ "$(grep -c '"action":"arrival"' $T/monitor.json)" -eq 4 ] &&
    [ "$(wc -l <$T/removal.json)" -eq 1 ] && [ "$(wc -l <$T/arrival.json)" -eq 1 ] ||
    { echo "expected 4 removals (one task 3) and 4 arrivals (one task 2):"; cat $T/monitor.json; return 1; }
  expect $T/removal.json '"pid":2,"interface":2,"collections":\[{"usage_page":1,"usage":0}\],"device_type":11' &&
    refuse $T/removal.json '"pid":2,"device_type"' &&
    expect $T/removal.json '"pid":1,"device_type":11,"mode":0' &&
    expect $T/arrival.json '"pid":2,"device_type":11,"mode":1,"online":1'
}

permission() {
  chmod 0600 /dev/hidraw*
  mkdir -p /tmp/player && chown 1000:1000 /tmp/player && chmod 0755 /tmp
  if su -s /bin/sh -c "env HOME=/tmp/player XDG_CONFIG_HOME=/tmp/player/c XDG_DATA_HOME=/tmp/player/d \
    corvane-cli --program-dir $PD info" player >$T/player.out 2>$T/player.err; then
    echo "info succeeded without access to the nodes"
    return 1
  fi
  expect $T/player.err 'no permission to open /dev/hidraw[0-9]* (1209:0001); install the udev rule 70-corvane.rules' &&
    expect $T/player.err '(1209:0002)'
}

# probe, probe NODE and probe NODE --add over hidraw, then the added model configured.
probe_unknown() {
  ctl destroy both && wait_nodes 0 || return 1
  printf 'usb_vid=0x1d50\nusb_pid=0x6177\n' >$T/unknown.state
  corvane-uhid serve --socket $SOCK2 --program-dir $PD --sim-state $T/unknown.state >$T/uhid2.log 2>&1 &
  wait_for $T/uhid2.log "ready" 100 && ctl2 create wired && wait_nodes 4 || return 1
  (
    use_home /tmp/home-probe
    cli --json devices >$T/probe-devices.json && expect $T/probe-devices.json '"entries":\[\]' || exit 1
    cli --json probe >$T/probe.json && cli probe >$T/probe-listing.txt || exit 1
    grep -o '"node":"[^"]*","vid":7504,"pid":24951,"interface":[-0-9]*,"usage_page":65281,"usage":16,[^}]*' \
      $T/probe.json >$T/probe-config.txt
    expect $T/probe-config.txt '"model":"unknown","can_open":true' &&
      expect $T/probe.json '"vid":7504,"pid":24951,"interface":[-0-9]*,"usage_page":65519,"usage":0,' || exit 1
    node=$(sed -n 's/^"node":"\([^"]*\)".*/\1/p' $T/probe-config.txt)
    [ -c "$node" ] || { echo "no configuration node in:"; cat $T/probe.json; exit 1; }
    cli probe "$node" >$T/probe-node.txt || exit 1
    expect $T/probe-node.txt 'device id   "KP11"' && expect $T/probe-node.txt 'sensor      0x35' &&
      expect $T/probe-node.txt 'ATTRS{idVendor}=="1d50", ATTRS{idProduct}=="6177"' || exit 1
    cli probe "$node" --add "Falcon" >$T/probe-add.txt || exit 1
    cli --json info >$T/probe-info.json && expect $T/probe-info.json '"device_type":1000,"connection":0,"sensor":53' || exit 1
    cli set dpi_group0_value 1200 && cli task 9 || exit 1
    # The support report shows the node's report descriptor as read from sysfs.
    cli --capture $T/probe-capture.txt info >/dev/null && cli --capture $T/probe-capture.txt report >$T/probe-report.txt &&
      expect $T/probe-report.txt '1000 Falcon (user_1d50_6177, user)' && expect $T/probe-report.txt '^  0601FF0910' &&
      expect $T/probe-report.txt '^OUT /dev/hidraw[0-9]* 33 0010'
  ) || return 1
  ctl2 state >$T/unknown-state.txt && expect $T/unknown-state.txt '^dpi_code0=12$' || return 1
  ctl2 quit >/dev/null && wait_nodes 0 && ctl create both && wait_nodes 8
}

rates() {
  (
    use_home /tmp/home-rate
    corvane-uhid rate hidraw 3 --program-dir $PD && corvane-uhid rate sim 3 --program-dir $PD
  ) >$T/rates.txt || { cat $T/rates.txt; return 1; }
}

run plug_in plug_in
run devices devices
run info info
run dpi_write dpi_write
run readback readback
run notify_dpi notify_dpi
run firmware firmware
run notify_link notify_link
run hotplug hotplug
run rates rates
sed 's/^/CORVANE-VM: RATE /' $T/rates.txt
run probe_unknown probe_unknown
sed 's/^/CORVANE-VM: PROBE /' $T/probe-listing.txt 2>/dev/null
run permission permission
ctl quit >/dev/null
echo "CORVANE-VM: DONE passed=$passes failed=$failures"
