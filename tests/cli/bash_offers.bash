# bash --norc bash_offers.bash COMPLETION_DIR LINE
# Prints the words that Tab offers at the end of LINE, sorted, on one line:
# the completion function of LINE's first word called as bash calls it, in
# a bash with bash-completion's helpers and the completion in COMPLETION_DIR.
source /usr/share/bash-completion/bash_completion
source "$1/pagelark.bash"
COMP_LINE=$2
COMP_POINT=${#COMP_LINE}
read -ra COMP_WORDS <<<"$COMP_LINE"
[[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
function=$(complete -p "${COMP_WORDS[0]}" | sed 's/.*-F \([^ ]*\).*/\1/')
"$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
printf '%s\n' "${COMPREPLY[@]}" | sort -u | paste -sd ' ' -
