	cy
#WAIT_PROMPT 5
 cy ##select('Coord system','BEAM','XYZ','ENU')
pm ##check('Enable profiling','NO','YES','NO')
##n=input('Cells')
##()
##f(,b, 7 ,'',c d)
