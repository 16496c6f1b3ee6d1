#!/usr/bin/env bash
# Proves the README's two commands on a fresh Debian 12: makes a minimal root
# with debootstrap, clones this repository (its committed HEAD) into it, runs
# the test command there, then the run command under Xvfb until the password
# window is on screen, and the run command once more without a display, which
# must say so in one line. Prints the time of each step; exits non-zero on any
# failure. Needs root and the network to Debian's mirror; takes long (two full
# builds), so it is run by hand, not by CI.
#   bash scripts/fresh-debian.sh [FOLDER]     (default: a new folder under /var/tmp)
# KEEP_ROOT=1 leaves the root in place afterwards, for a look inside.
set -euo pipefail
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap and chroot need it)" >&2; exit 2; }
root=${1:-$(mktemp -d /var/tmp/quorvane-fresh.XXXXXX)}
mkdir -p "$root"
log="$root.log"
: >"$log"

mounted=()
cleanup() {
    set +e
    pkill -f 'Xvfb :77' >/dev/null 2>&1
    pkill -f "$root/.*Quorvane/quorvane|/root/quorvane/build/Quorvane/quorvane" >/dev/null 2>&1
    sleep 1
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[$i]}" 2>/dev/null || umount -lR "${mounted[$i]}"
    done
    if [ -z "${KEEP_ROOT:-}" ] && [ -z "$(findmnt -rn -o TARGET | grep -F "$root/" || true)" ]; then
        rm -rf "$root"
    fi
}
trap cleanup EXIT

step_start=0
step() { step_start=$(date +%s); echo "== $1"; }
took() { echo "   $1: $(($(date +%s) - step_start)) s"; }
fail() { echo "FAILED: $1 (log: $log)" >&2; tail -30 "$log" >&2; exit 1; }

# The mirror this machine's own apt sources name for bookworm (one-line or
# deb822 form; only the files apt itself reads, security updates aside).
sources=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
mirror=$(cat "${sources[@]}" 2>/dev/null | awk '
    /^deb / { for (i = 2; i <= NF; i++) if ($i ~ /^https?:/) { if ($(i + 1) == "bookworm") { print $i; exit } break } }
    /^URIs:/ { uri = $2 }
    /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == "bookworm" && uri != "") { print uri; exit } }
    /^$/ { uri = "" }' || true)
mirror=${mirror:-http://deb.debian.org/debian}

command -v debootstrap >/dev/null || {
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >>"$log" 2>&1
}

step "fresh Debian 12 root in $root (mirror $mirror)"
debootstrap --variant=minbase --include=git,ca-certificates bookworm "$root" "$mirror" >>"$log" 2>&1 \
    || fail "debootstrap"
cp /etc/resolv.conf "$root/etc/resolv.conf"
for fs in proc sys dev; do
    case $fs in
        proc) mount -t proc proc "$root/proc" ;;
        sys) mount -t sysfs sys "$root/sys" ;;
        dev) mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" ;;
    esac
    mounted+=("$root/$fs")
done
took "root made"

step "clone"
git clone -q --no-local "$repo" "$root/root/quorvane" >>"$log" 2>&1 || fail "git clone"
echo "   at $(git -C "$root/root/quorvane" log -1 --format='%h %s')"

# A clean environment, as a new user's shell would have it: no display.
in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

step "README test command: bash scripts/test.sh"
in_root bash -c 'cd /root/quorvane && bash scripts/test.sh' >>"$log" 2>&1 || fail "test command"
grep -E "tests passed|tests failed" "$log" | sed 's/^/   /'
took "test command"

step "README run command without a display"
set +e
nodisplay=$(in_root bash -c 'cd /root/quorvane && timeout 600 bash scripts/run.sh' 2>&1 | tail -1)
status=$?
set -e
echo "   said: $nodisplay"
case "$nodisplay" in
    *xvfb-run*) ;;
    *) fail "without a display the run command did not say so" ;;
esac
took "run command without a display"

step "README run command under Xvfb, up to the password window"
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -qq --no-install-recommends xvfb xauth x11-utils \
    >>"$log" 2>&1 || fail "installing Xvfb in the root"
in_root bash -c 'Xvfb :77 -screen 0 1280x800x24 >/dev/null 2>&1 &'
sleep 2
in_root bash -c 'cd /root/quorvane && DISPLAY=:77 bash scripts/run.sh >/tmp/run.log 2>&1 &'
window=""
for ((i = 0; i < 600; i++)); do
    window=$(in_root env DISPLAY=:77 xwininfo -root -tree 2>/dev/null | grep -o '" Quorvane - Accesso al programma"' || true)
    [ -n "$window" ] && break
    sleep 1
done
[ -n "$window" ] || { cat "$root/tmp/run.log" >>"$log"; fail "the password window did not open"; }
echo "   on screen: $window"
took "run command"
echo "fresh Debian 12: all steps passed"
