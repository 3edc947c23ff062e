# Installs the Debian packages a script needs when they are missing and it runs as root;
# otherwise names the missing ones and goes on.
ensure_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  if [[ $(id -u) -eq 0 ]]; then
    echo "== installing ${missing[*]}" >&2
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    echo "== missing packages (run as root to install them): ${missing[*]}" >&2
  fi
}
