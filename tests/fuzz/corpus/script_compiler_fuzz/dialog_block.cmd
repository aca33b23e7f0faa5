#DIALOG
cells=input('Number of cells','10')
fmt=select('Data format','LONG','SHORT')
#ENDDIALOG
nc %cells
#WAIT_PROMPT 5
#IF fmt == 'SHORT'
df SHORT
#ELSE
df LONG
#ENDIF
