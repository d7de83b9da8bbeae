# zsh -f zsh_offers.zsh COMPLETION_DIR DUMP_FILE LINE
# Prints the words that Tab offers at the end of LINE, sorted, on one line:
# Tab pressed by hand in an interactive zsh on a terminal of its own, with
# compinit and the completion in COMPLETION_DIR. DUMP_FILE is compinit's
# cache, shared by the calls of one test.
zmodload zsh/zpty || exit 2
local dir=$1 dump=$2 line=$3 hits=$2.offers
: >$hits
zpty z zsh -f -i
zpty -w z "PS1= PROMPT_EOL_MARK= ; fpath=(${(q)dir} \$fpath); autoload -U compinit; compinit -u -d ${(q)dump}"
# Each match offered, as compadd takes it; calls that only ask compadd to
# match words, or keep them for later, offer nothing.
zpty -w z "compadd() { if [[ \${@[1,(i)(-|--)]} != *-(O|A|D)\\ * ]]; then local -a h; builtin compadd -O h \"\$@\"; print -rl -- \$h >> ${(q)hits}; fi; builtin compadd \"\$@\"; }"
# The mark is put together when printed, so that the echo of this line is not it.
zpty -w z "bindkey '^I' complete-word; _offered() { print -n OFFERED-\"ALL\" }; comppostfuncs=(_offered)"
zpty -w z "$line"$'\t'
local out
zpty -r z out '*OFFERED-ALL*'
zpty -d z
local -a offered=(${(f)"$(<$hits)"})
print -r -- ${(ou)offered}
rm -f $hits
