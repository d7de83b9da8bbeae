# fish --no-config fish_offers.fish COMPLETION_DIR LINE
# Prints the words that Tab offers at the end of LINE, one a line: fish's own
# completion of the line, with the completion of LINE's first word from
# COMPLETION_DIR.
set -l program (string split ' ' -- $argv[2])[1]
source $argv[1]/$program.fish
complete -C $argv[2] | string replace -r '\t.*' ''
true
