! ref_write -- writes values with gfortran for the differential tests of the layouts.
! Each line of the case file: a kind letter, the value in hexadecimal, the layout:
!   R 3FF0000000000000 (F10.3)     a REAL(8) given by its bits
!   I FFFFFFFFFFFFFFF9 (I5.3)      a default integer (two's complement)
! A layout of * is a list-directed write. One output record per case.
program ref_write
  implicit none
  character(len=1) :: kind
  character(len=200) :: fmt
  integer(8) :: bits
  integer :: ios, ival
  real(8) :: rval
  character(len=512) :: inname, outname

  call get_command_argument(1, inname)
  call get_command_argument(2, outname)
  open(10, file=trim(inname), status='old', action='read')
  open(11, file=trim(outname), status='replace', action='write', recl=1000)
  do
    read(10, '(A1,1X,Z16,1X,A)', iostat=ios) kind, bits, fmt
    if (ios /= 0) exit
    if (kind == 'R') then
      rval = transfer(bits, rval)
      if (trim(fmt) == '*') then
        write(11, *) rval
      else
        write(11, fmt) rval
      end if
    else
      ival = int(bits, 4)
      if (trim(fmt) == '*') then
        write(11, *) ival
      else
        write(11, fmt) ival
      end if
    end if
  end do
  close(11)
end program ref_write
