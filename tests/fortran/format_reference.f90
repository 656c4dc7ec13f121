! Reference fields for the formatting tests, written by gfortran itself.
!
! Reads one request per line from standard input:  <kind> <w> <d> <bits>
!   I  Iw.d of the integer <bits>          J  Iw of the integer <bits>
!   F  Fw.d of the real(8) with IEEE bits <bits>
!   E  1P,Ew.d of that real(8)
!   S  the significant-digit real of that real(8) in w columns with d significant digits
! and writes each field on its own line between brackets.
program format_reference
  implicit none
  character(len=1) :: kind
  integer :: w, d, ios
  integer(8) :: bits
  real(8) :: v
  character(len=32) :: edit

  do
    read (*, *, iostat=ios) kind, w, d, bits
    if (ios /= 0) exit
    v = transfer(bits, v)
    select case (kind)
    case ('I')
      write (edit, '(A,I0,A,I0,A)') '(A,I', w, '.', d, ',A)'
      write (*, edit) '[', bits, ']'
    case ('J')
      write (edit, '(A,I0,A)') '(A,I', w, ',A)'
      write (*, edit) '[', bits, ']'
    case ('F')
      call fixed(v, w, d)
    case ('E')
      call scientific(v, w, d)
    case ('S')
      call significant(v, w, d)
    end select
  end do

contains

  subroutine fixed(v, w, d)
    real(8), intent(in) :: v
    integer, intent(in) :: w, d
    character(len=32) :: edit
    write (edit, '(A,I0,A,I0,A)') '(A,F', w, '.', d, ',A)'
    write (*, edit) '[', v, ']'
  end subroutine fixed

  subroutine scientific(v, w, d)
    real(8), intent(in) :: v
    integer, intent(in) :: w, d
    character(len=32) :: edit
    write (edit, '(A,I0,A,I0,A)') '(A,1PE', w, '.', d, ',A)'
    write (*, edit) '[', v, ']'
  end subroutine scientific

  ! The report's significant-digit real: fixed point with as many decimals as give n
  ! significant digits, scientific outside the range (10**(1-n), 10**n). The limits are
  ! default-REAL powers, compared with the real(8) magnitude.
  subroutine significant(v, w, n)
    real(8), intent(in) :: v
    integer, intent(in) :: w, n
    real(8) :: d
    integer :: k, h
    d = abs(v)
    if (v == 0d0 .or. d < 1d-50) then
      call fixed(0d0, w, n)
      return
    end if
    if (d .le. 10.0**(1 - n) .or. d .ge. 10.0**n) then
      call scientific(v, w, n)
      return
    end if
    k = int(log10(d))
    if (k < 0) k = k - 1
    h = n - k
    if (h > n + 2) then
      call scientific(v, w, n)
    else
      call fixed(v, w, h)
    end if
  end subroutine significant

end program format_reference
