# uncommitted_changes ROOT: what git lists as not committed in the tree at
# ROOT (changed, added, removed and untracked files; not the ignored build/
# and out/), one per line; nothing for a commit's tree, nor where ROOT is not
# the top of a git work tree: a source archive is taken as its commit.
uncommitted_changes() {
    local top
    top="$(git -C "$1" rev-parse --show-toplevel 2>/dev/null)" || return 0
    [ "$(realpath "$top")" = "$(realpath "$1")" ] || return 0
    git -C "$1" status --porcelain --untracked-files=all
}
