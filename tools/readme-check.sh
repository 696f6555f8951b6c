#!/usr/bin/env bash
# Runs the commands of the README's ```sh blocks, in order, as a reader would: in a
# scratch folder with a home of its own, against this build installed into
# ~/.local. A line saying "not run by the README check" is left out (it starts a
# window or changes the system); the program it names must still exist.
set -euo pipefail
src=$(cd "${1:?source folder}" && pwd)
build=$(cd "${2:?build folder}" && pwd)

work=$(mktemp -d)
cleanup() {
    jobs -p | xargs -r kill 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home" "$work/run"
ln -s "$build" "$work/run/build"
export HOME="$work/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME
export PATH="$HOME/.local/bin:$PATH"
cmake --install "$build" --prefix "$HOME/.local" >/dev/null

blocks="$work/blocks"
mkdir "$blocks"
awk -v dir="$blocks" '
    /^```sh[[:space:]]*$/ { n++; inblock = 1; next }
    /^```/ { inblock = 0; next }
    inblock { print > sprintf("%s/%03d.sh", dir, n) }
' "$src/README.md"

count=0
for block in "$blocks"/*.sh; do
    while IFS= read -r line; do
        program=${line%% *}
        if [[ "$program" == */* && ! -x "$src/$program" ]]; then
            echo "README names $program, which is not in the source folder" >&2
            exit 1
        fi
        echo "skipped: $line"
    done < <(grep 'not run by the README check' "$block" || true)
    grep -v 'not run by the README check' "$block" > "$block.run" || true
    [ -s "$block.run" ] || continue
    count=$((count + 1))
    echo "--- block $(basename "$block" .sh)"
    if ! (cd "$work/run" && bash -e "$block.run"); then
        echo "README block failed:" >&2
        cat "$block.run" >&2
        exit 1
    fi
done
[ "$count" -gt 0 ] || { echo "no commands found in README.md" >&2; exit 1; }
echo "README: $count blocks ran"
