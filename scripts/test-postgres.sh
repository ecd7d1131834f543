#!/usr/bin/env bash
# Starts or stops the private PostgreSQL server of a test run: a new cluster in FOLDER, owned
# by an unprivileged user (PostgreSQL refuses to run as root), reachable only through a Unix
# socket in FOLDER, superuser "corvane" without a password. Nothing outside FOLDER is touched.
# Usage: scripts/test-postgres.sh start|stop FOLDER
set -euo pipefail
action=${1:?start or stop}
folder=${2:?folder}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
if [ -z "$bin" ]; then
  echo "test-postgres: PostgreSQL is not installed (Debian package postgresql; scripts/setup-debian.sh installs it)" >&2
  exit 1
fi
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

case $action in
start)
  [ -f "$folder/data/postmaster.pid" ] && as_owner "$bin/pg_ctl" -D "$folder/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$folder"
  mkdir -p "$folder"
  [ "$(id -u)" -eq 0 ] && chown nobody "$folder"
  as_owner "$bin/initdb" -D "$folder/data" -U corvane --auth=trust -E UTF8 --locale=C.UTF-8 >"$folder/initdb.log" 2>&1 \
    || { cat "$folder/initdb.log" >&2; exit 1; }
  # No TCP at all; fsync off because the cluster is thrown away after the run.
  as_owner "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$folder' -c fsync=off -c max_connections=200" start >/dev/null \
    || { cat "$folder/server.log" >&2; exit 1; }
  echo "test-postgres: server running, socket folder $folder"
  ;;
stop)
  if [ -f "$folder/data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null
  fi
  rm -rf "$folder"
  ;;
*)
  echo "usage: $0 start|stop FOLDER" >&2
  exit 2
  ;;
esac
