# bash completion for tarvo-zins

_tarvo_zins() {
    local cur prev command word
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case "${word}" in
            zinsen|verzug|basiszins|forderung) command="${word}"; break ;;
        esac
    done

    case "${prev}" in
        --format) COMPREPLY=($(compgen -W "text csv json" -- "${cur}")); return ;;
        --formel) COMPREPLY=($(compgen -W "euro deutsche englische" -- "${cur}")); return ;;
        --tage) COMPREPLY=($(compgen -W "taggenau actact act360 30360 30360ch" -- "${cur}")); return ;;
        --recht) COMPREPLY=($(compgen -W "de at ch" -- "${cur}")); return ;;
        --csv|--import) COMPREPLY=($(compgen -f -- "${cur}")); return ;;
        --satz|--aufschlag|--von|--bis|--betrag|--stichtag) return ;;
    esac

    if [[ -z "${command}" ]]; then
        COMPREPLY=($(compgen -W "zinsen verzug basiszins forderung --help --version" -- "${cur}"))
        return
    fi
    if [[ "${command}" == forderung && "${cur}" != -* ]]; then
        COMPREPLY=($(compgen -f -X '!*.tarvo' -- "${cur}") $(compgen -d -- "${cur}"))
        return
    fi
    if [[ "${cur}" == -* ]]; then
        local options="--format --bom --help"
        case "${command}" in
            zinsen) options+=" --formel --csv --von --bis" ;;
            verzug) options+=" --recht --verbraucher --unternehmer --vor-2014 --vor-2013 --satz
                              --aufschlag --tage --pauschale --ohne-zahlungstag --csv --von --bis" ;;
            basiszins) options+=" --import --aktualisieren" ;;
            forderung) options+=" --stichtag" ;;
        esac
        COMPREPLY=($(compgen -W "${options}" -- "${cur}"))
    fi
}
complete -F _tarvo_zins tarvo-zins
