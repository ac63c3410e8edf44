! ref_read -- reads values with gfortran's list-directed input for the differential tests.
! Each line of the case file: a kind letter (R for REAL(8), I for default integers), a
! blank, then the text read into four items preset to a sentinel. Output per case: the
! iostat (0 or 1) and the four items in hexadecimal (bits of the reals).
program ref_read
  implicit none
  character(len=1) :: kind
  character(len=300) :: text
  integer :: ios, iv(4), k
  real(8) :: rv(4)
  integer(8) :: bits(4)
  character(len=512) :: inname, outname

  call get_command_argument(1, inname)
  call get_command_argument(2, outname)
  open(10, file=trim(inname), status='old', action='read')
  open(11, file=trim(outname), status='replace', action='write')
  do
    read(10, '(A1,1X,A)', iostat=ios) kind, text
    if (ios /= 0) exit
    if (kind == 'R') then
      rv = transfer(int(z'7FF4000000000BAD', 8), rv(1))
      read(text, *, iostat=ios) rv
      bits = transfer(rv, bits)
    else
      iv = -123456789
      read(text, *, iostat=ios) iv
      do k = 1, 4
        bits(k) = iv(k)
      end do
    end if
    write(11, '(I1,4(1X,Z16.16))') merge(0, 1, ios == 0), bits
  end do
  close(11)
end program ref_read
