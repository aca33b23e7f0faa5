cb
#WAIT_PROMPT 5
cb ##input('Cell begin')
