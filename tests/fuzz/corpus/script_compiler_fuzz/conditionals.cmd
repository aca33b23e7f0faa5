#if x==5 // compare
#MSGBOX "it's done", other
#ELSEIF x != 'on'
set %x%y "%z" load 50%
#ELSE
##v=DATE()
#ENDIF
#RUNSCRIPT 'setup.cmd'
#MSGBOX('Hi')
