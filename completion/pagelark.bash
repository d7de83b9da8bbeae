# bash completion for pagelark and pagelark-cli                 -*- shell-script -*-
# Installed under each program's name in bash-completion's completions folder,
# which loads it at the first Tab after either name.

# Page files by the name the games give them (VSWAP.WL6, vswap.sod, ...), and
# folders to reach them; every file where no such name is in sight, since a
# page file written by pagelark-cli may be named anything.
_pagelark_page_files()
{
    local IFS=$'\n' quoted reset name
    local -a named=()
    _tilde "$cur" || return
    # Quoted and split as _filedir does it, for names with spaces.
    _quote_readline_by_ref "$cur" quoted
    reset=$(shopt -po noglob)
    set -o noglob
    named=($(compgen -f -X '!?(*/)[Vv][Ss][Ww][Aa][Pp].*' -- $quoted))
    IFS=' '
    $reset
    IFS=$'\n'
    for name in "${named[@]}"; do
        if [[ -f ${name/#\~/$HOME} ]]; then
            _filedir -d
            COMPREPLY+=("${named[@]}")
            compopt -o filenames 2>/dev/null
            return
        fi
    done
    _filedir
}

_pagelark()
{
    local cur prev words cword
    _init_completion || return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help --version' -- "$cur"))
    elif ((cword == 1)); then
        _pagelark_page_files
    fi
} && complete -F _pagelark pagelark

_pagelark_cli()
{
    local cur prev words cword
    # INDEX=FILE stays one word, so that operands count right.
    _init_completion -n = || return

    local commands='list save sheet pack replace diff patch'
    if ((cword == 1)); then
        [[ $cur == -* ]] && commands='--help --version'
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi
    # Each command's options as its --help lists them; a test holds them to it.
    local command=${words[1]} options
    case $command in
        list) options='--game --json --help' ;;
        save) options='--prefix --format --palette --help' ;;
        sheet) options='--kind --columns --scale --palette --help' ;;
        pack) options='--prefix --palette --base --dither --help' ;;
        replace) options='--palette --dither --help' ;;
        diff) options='--palette --help' ;;
        patch) options='--help' ;;
        *) return ;;
    esac

    case $prev in
        --game)
            COMPREPLY=($(compgen -W 'wolf10 wolf13 spear' -- "$cur"))
            return
            ;;
        --format)
            COMPREPLY=($(compgen -W 'bmp png' -- "$cur"))
            return
            ;;
        --kind)
            COMPREPLY=($(compgen -W 'walls sprites' -- "$cur"))
            return
            ;;
        --palette)
            _filedir pal
            return
            ;;
        --base)
            _pagelark_page_files
            return
            ;;
        --prefix | --columns | --scale)
            return
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # Which operand this word is: the words after the command that are
    # neither an option nor an option's value. Every option takes a value
    # but --json and --dither, and one given as --option=value takes it along.
    local i operand=0
    for ((i = 2; i < cword; i++)); do
        case ${words[i]} in
            -- | --json | --dither | --*=*) ;;
            -*) ((i++)) ;;
            *) ((++operand)) ;;
        esac
    done
    case $command:$operand in
        list:0 | save:0 | sheet:0 | replace:0 | diff:0 | diff:1 | patch:0) _pagelark_page_files ;;
        diff:2 | patch:1) _filedir zip ;;
        patch:2) _filedir ;;
        save:1) _filedir -d ;;
        sheet:1) _filedir png ;;
        pack:0) _filedir -d ;;
        pack:1 | replace:1) _filedir ;;
        replace:*)
            # INDEX=FILE: a file after the '='; nothing to offer for the index.
            if [[ $cur == *=* ]]; then
                cur=${cur#*=}
                _filedir
            fi
            ;;
    esac
} && complete -F _pagelark_cli pagelark-cli

# ex: filetype=sh
