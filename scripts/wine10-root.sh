# Sourced by scripts/setup and scripts/in-wine10: the Debian 13 (trixie) root
# that holds Wine 10 for the end-to-end tests, its recipe and how to enter it.
#
# The root is kept outside the clone, in /var/cache/padloom (PADLOOM_CACHE
# overrides), in a folder named for a hash of the recipe below, so a changed
# recipe gets a root of its own and a clone with the old one keeps using its
# own meanwhile. It is built in a temporary folder and renamed when complete:
# an interrupted build is started again, never reused.

wine10_suite=trixie
# What the scenarios need inside: Wine 10 (wine64 is the 64-bit loader and
# server), a display, xdotool, a window manager (openbox), python3 for the
# driver, imagemagick for its screenshots, the CJK fonts most Linux desktops
# ship, and the locales.
wine10_packages=(
  wine wine64 xvfb xdotool x11-utils openbox python3 imagemagick fonts-noto-cjk locales
)
wine10_locales=(ja_JP zh_CN zh_TW ko_KR es_ES pt_BR ru_RU)

wine10_cache=${PADLOOM_CACHE:-/var/cache/padloom}
# Inside the root: its recipe hash, which also tells scripts that they run there.
wine10_marker=etc/padloom-root

# The recipe's functions as bash prints them (without comments) and its lists:
# any change to what is built changes the hash, a change to a comment does not.
wine10_recipe_hash() {
  {
    declare -f wine10_build wine10_provision wine10_mirror
    echo "$wine10_enter $wine10_suite ${wine10_packages[*]} ${wine10_locales[*]}"
  } | sha256sum | cut -c1-12
}

wine10_ready() {
  [ -f "$wine10_root/$wine10_marker" ]
}

# The Debian mirror the host's apt already uses, so the root comes from the
# same place as every package: the first URI of its sources, in the order apt
# reads them (sources.list, then sources.list.d/ by name), whether one-line
# ("deb [options] URI suite ..." in *.list) or deb822 ("URIs:" in a *.sources
# stanza not "Enabled: no"), whose path ends in /debian, which neither the
# security archive's nor another vendor's does. PADLOOM_APT_DIR names another
# folder laid out as /etc/apt. None found is an error, said on stderr.
wine10_mirror() {
  local dir=${PADLOOM_APT_DIR:-/etc/apt} files=() f uri=
  for f in "$dir/sources.list" "$dir"/sources.list.d/*; do
    case $f in *.list | *.sources) [ -f "$f" ] && files+=("$f") ;; esac
  done
  if [ ${#files[@]} -gt 0 ]; then
    uri=$(awk '
      function flush() { if (enabled && uris != "") print uris; uris = ""; enabled = 1 }
      FNR == 1 { flush(); deb822 = FILENAME ~ /\.sources$/ }
      /^[[:space:]]*#/ { next }
      deb822 && NF == 0 { flush(); next }
      deb822 && tolower($1) == "uris:" { for (i = 2; i <= NF; i++) uris = uris " " $i; next }
      deb822 && tolower($1) == "enabled:" { enabled = tolower($2) != "no"; next }
      !deb822 && ($1 == "deb" || $1 == "deb-src") {
        i = 2
        if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
        print $i
      }
      END { flush() }' "${files[@]}" | tr -s ' ' '\n' \
      | grep -m 1 -E '^https?://[^/[:space:]]+(/[^[:space:]]*)?/debian/?$' || true)
  fi
  if [ -z "$uri" ]; then
    echo "setup: no Debian mirror in the apt sources under $dir (a 'deb URI suite' line in" \
      "sources.list or sources.list.d/*.list, or 'URIs:' in sources.list.d/*.sources, its" \
      "path ending in /debian): the Wine 10 root is fetched from the host's own mirror" >&2
    return 1
  fi
  echo "$uri"
}

# unshare --mount --propagation private bash -c "$wine10_enter" wine10-enter
#   ROOT CWD BIND... -- COMMAND [ARGS...]
# runs COMMAND chrooted into ROOT in folder CWD, with /proc, /dev (and
# /dev/pts, /dev/shm), /sys and each BIND folder mounted at its own path. The
# private mount namespace keeps every mount from the host and ends them with
# the command. Each step execs the next, so the command keeps the caller's
# process id and a signal sent to it (a test's timeout) reaches it.
wine10_enter='
  set -e
  root=$1 cwd=$2
  shift 2
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  mount --rbind /sys "$root/sys"
  while [ "$1" != -- ]; do
    mkdir -p "$root$1"
    mount --rbind "$1" "$root$1"
    shift
  done
  shift
  exec chroot "$root" /bin/sh -c "cd \"\$1\" && shift && exec \"\$@\"" sh "$cwd" "$@"
'

# Runs inside the new root, as its root user.
wine10_provision() {
  set -e
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # With recommends, as on the host: Wine loads several X and font libraries
  # at run time.
  apt-get install -y -qq "$@" >/dev/null
  # Wine falls back to English for a locale that is not generated.
  for l in $WINE10_LOCALES; do
    echo "$l.UTF-8 UTF-8" >>/etc/locale.gen
  done
  locale-gen >/dev/null
  # The 32-bit program runs in Wine's WoW64 mode, which needs the i386 PE
  # DLLs of the same Wine beside the 64-bit ones, and nothing i386 of Linux:
  # the package is fetched and unpacked, never installed (this kernel runs no
  # 32-bit code), and the architecture is dropped again so nothing i386 can
  # be installed later.
  dpkg --add-architecture i386
  apt-get update -qq
  local version dir
  version=$(dpkg-query -W -f='${Version}' libwine)
  dir=$(mktemp -d)
  (cd "$dir" && apt-get download -qq "libwine:i386=$version")
  dpkg-deb -x "$dir"/libwine_*_i386.deb "$dir/x"
  cp -a "$dir/x/usr/lib/i386-linux-gnu/wine/i386-windows/." \
    /usr/lib/x86_64-linux-gnu/wine/i386-windows/
  rm -rf "$dir"
  dpkg --remove-architecture i386
  apt-get clean
  rm -rf /var/lib/apt/lists/*
}

# Builds the root if it is missing; concurrent callers wait for the first.
# Roots of other recipes unused for two days are removed.
wine10_build() {
  mkdir -p "$wine10_cache"
  (
    flock -w 3600 9 || { echo "setup: the Wine 10 root's lock timed out" >&2; exit 1; }
    wine10_ready && exit 0
    local tmp started mirror
    started=$(date +%s)
    mirror=$(wine10_mirror) || exit 1
    tmp=$wine10_root.building
    rm -rf "$tmp"
    echo "setup: building the Debian 13 root with Wine 10 in $wine10_root from $mirror" \
      "(a few minutes, once)"
    # ca-certificates: the mirror may be an https one.
    debootstrap --variant=minbase --include=ca-certificates "$wine10_suite" "$tmp" "$mirror" \
      >"$tmp.log" 2>&1 || { tail -n 20 "$tmp.log" >&2; exit 1; }
    WINE10_LOCALES="${wine10_locales[*]}" unshare --mount --propagation private \
      bash -c "$wine10_enter" wine10-enter "$tmp" / -- \
      bash -c "$(declare -f wine10_provision)"'; wine10_provision "$@"' provision \
      "${wine10_packages[@]}" >>"$tmp.log" 2>&1 || { tail -n 20 "$tmp.log" >&2; exit 1; }
    wine10_recipe_hash >"$tmp/$wine10_marker"
    mv "$tmp" "$wine10_root"
    rm -f "$tmp.log"
    echo "setup: Wine 10 root ready after $(($(date +%s) - started)) s:" \
      "$(chroot "$wine10_root" dpkg-query -W -f='wine ${Version}' wine)"
    find "$wine10_cache" -mindepth 2 -maxdepth 3 -path "*-wine10-*/$wine10_marker" -mtime +2 \
      -printf '%h\n' 2>/dev/null | while read -r old; do
      old=$(dirname "$old")
      [ "$old" != "$wine10_root" ] && rm -rf "$old" "$old.lock"
    done
    exit 0
  ) 9>"$wine10_root.lock"
}

# Last, once every part of the recipe is defined.
wine10_root=$wine10_cache/$wine10_suite-wine10-$(wine10_recipe_hash)
