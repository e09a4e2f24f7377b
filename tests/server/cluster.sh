#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests: `cluster.sh start DIR` makes
# one in DIR (listening on a Unix socket in DIR/socket only, no TCP port)
# with a database `books`, a writer role `domiva` and a reader role
# `auditor`; `cluster.sh stop DIR` stops it and removes DIR. With `fast`
# after DIR, the cluster does not wait for the disk (for tests; a benchmark
# leaves it out). The server refuses to run as root, so as root it runs as
# `nobody`.
set -euo pipefail
# The server keeps the real clock when the tests run under a shifted one:
# it is not ours, and it stalls under a faked clock.
unset LD_PRELOAD FAKETIME
action=$1
dir=$(realpath -m "$2")
options="-k $dir/socket -c listen_addresses=''"
if [ "${3:-}" = fast ]; then options="$options -c fsync=off"; fi
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
as=()
if [ "$(id -u)" -eq 0 ]; then as=(runuser -u nobody --); fi

case "$action" in
start)
  if [ -f "$dir/data/postmaster.pid" ]; then "$0" stop "$dir"; fi
  rm -rf "$dir"
  mkdir -p "$dir/socket"
  if [ "$(id -u)" -eq 0 ]; then chown -R nobody "$dir"; fi
  "${as[@]}" "$bin/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
  "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "$options" start >/dev/null
  chmod 0777 "$dir/socket"
  psql=("$bin/psql" -h "$dir/socket" -U postgres -v ON_ERROR_STOP=1 -q)
  "${psql[@]}" -d postgres -c "CREATE ROLE domiva LOGIN CREATEDB; CREATE ROLE auditor LOGIN;" \
    -c "CREATE DATABASE books OWNER domiva;"
  # Whatever domiva makes, auditor may read (receipt numbers to come too, for a
  # copy) and nothing more.
  "${psql[@]}" -d books -c "ALTER DEFAULT PRIVILEGES FOR ROLE domiva GRANT SELECT ON TABLES TO auditor;" \
    -c "ALTER DEFAULT PRIVILEGES FOR ROLE domiva GRANT USAGE ON SCHEMAS TO auditor;" \
    -c "ALTER DEFAULT PRIVILEGES FOR ROLE domiva GRANT SELECT ON SEQUENCES TO auditor;"
  ;;
stop)
  if [ -d "$dir/data" ]; then "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null || true; fi
  rm -rf "$dir"
  ;;
*) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
