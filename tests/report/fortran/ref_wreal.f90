! ref_wreal -- the real-number field rule of the report writers, written with gfortran:
! zero below 1e-50, scientific outside the single-precision limits 10**(1-d) and 10**d,
! otherwise fixed with d - g decimals (g the truncated log10, lowered by one when
! negative) unless that passes d + 2 or does not fit two digits. Each line of the case
! file: w, d and the bits.
program ref_wreal
  implicit none
  integer :: w, d, g, dd, ios
  integer(8) :: bits
  real(8) :: v, a
  real(4) :: lo, hi
  character(len=50) :: f
  character(len=99) :: field
  character(len=512) :: inname, outname

  call get_command_argument(1, inname)
  call get_command_argument(2, outname)
  open(10, file=trim(inname), status='old', action='read')
  open(11, file=trim(outname), status='replace', action='write')
  do
    read(10, '(I2,1X,I2,1X,Z16)', iostat=ios) w, d, bits
    if (ios /= 0) exit
    v = transfer(bits, v)
    a = abs(v)
    field = ' '
    if (.not. (a <= huge(a))) then
      write(f, '("(1P,1E",I2.2,".",I2.2,")")') w, d
      write(field, f) v
    else if (v == 0 .or. a < 1.0d-50) then
      write(f, '("(   1F",I2.2,".",I2.2,")")') w, d
      write(field, f) 0.0d0
    else
      lo = 10.0**(1 - d)
      hi = 10.0**d
      if (a <= lo .or. a >= hi) then
        write(f, '("(1P,1E",I2.2,".",I2.2,")")') w, d
        write(field, f) v
      else
        g = int(log10(a))
        if (g < 0) g = g - 1
        dd = d - g
        if (dd <= d + 2 .and. dd >= 0 .and. dd <= 99) then
          write(f, '("(   1F",I2.2,".",I2.2,")")') w, dd
        else
          write(f, '("(1P,1E",I2.2,".",I2.2,")")') w, d
        end if
        write(field, f) v
      end if
    end if
    write(11, '(A)') field(1:w)
  end do
  close(11)
end program ref_wreal
