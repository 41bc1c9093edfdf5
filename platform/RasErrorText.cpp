#include "RasConstants.h"

namespace {

// The standard English texts, indexed by code - 600.
const char* const kTexts[] = {
    "An operation is pending.",                                                      // 600
    "The port handle is invalid.",                                                   // 601
    "The port is already open.",                                                     // 602
    "Caller's buffer is too small.",                                                 // 603
    "Wrong information specified.",                                                  // 604
    "Cannot set port information.",                                                  // 605
    "The port is not connected.",                                                    // 606
    "The event is invalid.",                                                         // 607
    "The device does not exist.",                                                    // 608
    "The device type does not exist.",                                               // 609
    "The buffer is invalid.",                                                        // 610
    "The route is not available.",                                                   // 611
    "The route is not allocated.",                                                   // 612
    "Invalid compression specified.",                                                // 613
    "Out of buffers.",                                                               // 614
    "The port was not found.",                                                       // 615
    "An asynchronous request is pending.",                                           // 616
    "The port or device is already disconnecting.",                                  // 617
    "The port is not open.",                                                         // 618
    "The port is disconnected.",                                                     // 619
    "There are no endpoints.",                                                       // 620
    "Cannot open the phone book file.",                                              // 621
    "Cannot load the phone book file.",                                              // 622
    "Cannot find the phone book entry.",                                             // 623
    "Cannot write the phone book file.",                                             // 624
    "Invalid information found in the phone book file.",                             // 625
    "Cannot load a string.",                                                         // 626
    "Cannot find key.",                                                              // 627
    "The port was disconnected.",                                                    // 628
    "The port was disconnected by the remote machine.",                              // 629
    "The port was disconnected due to hardware failure.",                            // 630
    "The port was disconnected by the user.",                                        // 631
    "The structure size is incorrect.",                                              // 632
    "The port is already in use or is not configured for Remote Access dial out.",   // 633
    "Cannot register your computer on the remote network.",                          // 634
    "Unknown error.",                                                                // 635
    "The wrong device is attached to the port.",                                     // 636
    "The string could not be converted.",                                            // 637
    "The request has timed out.",                                                    // 638
    "No asynchronous net available.",                                                // 639
    "A NetBIOS error has occurred.",                                                 // 640
    "The server cannot allocate NetBIOS resources needed to support the client.",    // 641
    "One of your NetBIOS names is already registered on the remote network.",        // 642
    "A network adapter at the server failed.",                                       // 643
    "You will not receive network message popups.",                                  // 644
    "Internal authentication error.",                                                // 645
    "The account is not permitted to log on at this time of day.",                   // 646
    "The account is disabled.",                                                      // 647
    "The password has expired.",                                                     // 648
    "The account does not have Remote Access permission.",                           // 649
    "The Remote Access server is not responding.",                                   // 650
    "Your modem (or other connecting device) has reported an error.",                // 651
    "Unrecognized response from the device.",                                        // 652
    "A macro required by the device was not found in the device .INF file section.", // 653
    "A command or response in the device .INF file section refers to an undefined "
    "macro.",                                                             // 654
    "The <message> macro was not found in the device .INF file section.", // 655
    "The <defaultoff> macro in the device .INF file section contains an undefined "
    "macro.",                                                                    // 656
    "The device .INF file could not be opened.",                                 // 657
    "The device name in the device .INF or media .INI file is too long.",        // 658
    "The media .INI file refers to an unknown device name.",                     // 659
    "The device .INF file contains no responses for the command.",               // 660
    "The device .INF file is missing a command.",                                // 661
    "Attempted to set a macro not listed in device .INF file section.",          // 662
    "The media .INI file refers to an unknown device type.",                     // 663
    "Cannot allocate memory.",                                                   // 664
    "The port is not configured for Remote Access.",                             // 665
    "Your modem (or other connecting device) is not functioning.",               // 666
    "Cannot read the media .INI file.",                                          // 667
    "The connection dropped.",                                                   // 668
    "The usage parameter in the media .INI file is invalid.",                    // 669
    "Cannot read the section name from the media .INI file.",                    // 670
    "Cannot read the device type from the media .INI file.",                     // 671
    "Cannot read the device name from the media .INI file.",                     // 672
    "Cannot read the usage from the media .INI file.",                           // 673
    "Cannot read the maximum connection BPS rate from the media .INI file.",     // 674
    "Cannot read the maximum carrier BPS rate from the media .INI file.",        // 675
    "The line is busy.",                                                         // 676
    "A person answered instead of a modem.",                                     // 677
    "There is no answer.",                                                       // 678
    "Cannot detect carrier.",                                                    // 679
    "There is no dial tone.",                                                    // 680
    "General error reported by device.",                                         // 681
    "Cannot write the section name to the media .INI file.",                     // 682
    "Cannot write the device type to the media .INI file.",                      // 683
    "Cannot write the device name to the media .INI file.",                      // 684
    "Cannot write the maximum connection BPS rate to the media .INI file.",      // 685
    "Cannot write the maximum carrier BPS rate to the media .INI file.",         // 686
    "Cannot write the usage to the media .INI file.",                            // 687
    "Cannot write the default-off macro to the media .INI file.",                // 688
    "Cannot read the default-off macro from the media .INI file.",               // 689
    "The media .INI file is empty.",                                             // 690
    "Access denied because username and/or password is invalid on the domain.",  // 691
    "Hardware failure in port or attached device.",                              // 692
    "The macro is not a binary macro.",                                          // 693
    "The device control block was not found.",                                   // 694
    "The state machines are not started.",                                       // 695
    "The state machines are already started.",                                   // 696
    "The partial response is looping.",                                          // 697
    "A response keyname in the device .INF file is not in the expected format.", // 698
    "The device response caused buffer overflow.",                               // 699
    "The expanded command in the device .INF file is too long.",                 // 700
    "The device moved to a BPS rate not supported by the COM driver.",           // 701
    "Device response received when none expected.",                              // 702
    "The connection needs information from you, but the application does not allow "
    "user interaction.",                                                               // 703
    "The callback number is invalid.",                                                 // 704
    "The authorization state is invalid.",                                             // 705
    "Cannot write the initial BPS rate to the media .INI file.",                       // 706
    "X.25 diagnostic indication.",                                                     // 707
    "The account has expired.",                                                        // 708
    "Error changing password on domain.",                                              // 709
    "Serial overrun errors were detected while communicating with your modem.",        // 710
    "RasMan initialization failure. Check the event log.",                             // 711
    "Biplex port initializing. Wait a few seconds and redial.",                        // 712
    "No active ISDN lines are available.",                                             // 713
    "No ISDN channels are available to make the call.",                                // 714
    "Too many errors occurred because of poor phone line quality.",                    // 715
    "The Remote Access IP configuration is unusable.",                                 // 716
    "No IP addresses are available in the static pool of Remote Access IP addresses.", // 717
    "PPP timeout.",                                                                    // 718
    "PPP terminated by remote machine.",                                               // 719
    "No PPP control protocols configured.",                                            // 720
    "Remote PPP peer is not responding.",                                              // 721
    "The PPP packet is invalid.",                                                      // 722
    "The phone number, including prefix and suffix, is too long.",                     // 723
    "The IPX protocol cannot dial out on the port because the computer is an IPX "
    "router.", // 724
    "The IPX protocol cannot dial in on the port because the IPX router is not "
    "installed.",                                                                    // 725
    "The IPX protocol cannot be used for dial-out on more than one port at a time.", // 726
    "Cannot access TCPCFG.DLL.",                                                     // 727
    "Cannot find an IP adapter bound to Remote Access.",                             // 728
    "SLIP cannot be used unless the IP protocol is installed.",                      // 729
    "Computer registration is not complete.",                                        // 730
    "The protocol is not configured.",                                               // 731
    "The PPP negotiation is not converging.",                                        // 732
    "The PPP control protocol for this network protocol is not available on the "
    "server.",                                                         // 733
    "The PPP link control protocol terminated.",                       // 734
    "The requested address was rejected by the server.",               // 735
    "The remote computer terminated the control protocol.",            // 736
    "Loopback detected.",                                              // 737
    "The server did not assign an address.",                           // 738
    "The remote server cannot use the Windows NT encrypted password.", // 739
    "The TAPI devices configured for Remote Access failed to initialize or were not "
    "installed correctly.",                                               // 740
    "The local computer does not support the required encryption type.",  // 741
    "The remote computer does not support the required encryption type.", // 742
    "The remote server requires encryption.",                             // 743
    "Cannot use the IPX network number assigned by the remote server. Check the event "
    "log.",                              // 744
    "The SMM is invalid.",               // 745
    "The SMM is not initialized.",       // 746
    "No MAC is available for the port.", // 747
    "The SMM timed out.",                // 748
    "The phone number is invalid.",      // 749
    "The module is wrong.",              // 750
    "Invalid callback number. Only the characters 0 to 9, T, P, W, (, ), -, @, and "
    "space are allowed in the number.",                          // 751
    "A syntax error was encountered while processing a script.", // 752
    "The connection could not be disconnected because it was created by the "
    "multi-protocol router.",                           // 753
    "The system could not find the multi-link bundle.", // 754
    "The system cannot perform automated dial because this connection has a custom "
    "dialer specified.",                        // 755
    "This connection is already being dialed.", // 756
    "Remote Access Services could not be started automatically. Additional information "
    "is provided in the event log.",                                     // 757
    "Internet Connection Sharing is already enabled on the connection.", // 758
    "An error occurred while the existing Internet Connection Sharing settings were "
    "being changed.",                                                   // 759
    "An error occurred while routing capabilities were being enabled.", // 760
    "An error occurred while Internet Connection Sharing was being enabled for the "
    "connection.",                                                                 // 761
    "An error occurred while the local network was being configured for sharing.", // 762
    "Internet Connection Sharing cannot be enabled. There is more than one LAN "
    "connection other than the connection to be shared.", // 763
    "No smart card reader is installed.",                 // 764
    "Internet Connection Sharing cannot be enabled. A LAN connection is already "
    "configured with the IP address that is required for automatic IP addressing.", // 765
    "A certificate could not be found. Connections that use the L2TP protocol over "
    "IPSec require the installation of a machine certificate.", // 766
    "Internet Connection Sharing cannot be enabled. The LAN connection selected as the "
    "private network has more than one IP address configured.",          // 767
    "The connection attempt failed because of failure to encrypt data.", // 768
    "The specified destination is not reachable.",                       // 769
    "The remote computer rejected the connection attempt.",              // 770
    "The connection attempt failed because the network is busy.",        // 771
    "The remote computer's network hardware is incompatible with the type of call "
    "requested.",                                                                // 772
    "The connection attempt failed because the destination number has changed.", // 773
    "The connection attempt failed because of a temporary failure. Try connecting "
    "again.",                                       // 774
    "The call was blocked by the remote computer.", // 775
    "The call could not be connected because the remote computer has invoked the Do "
    "Not Disturb feature.", // 776
    "The connection attempt failed because the modem (or other connecting device) on "
    "the remote computer is out of order.",                                  // 777
    "It was not possible to verify the identity of the server.",             // 778
    "To dial out using this connection you must use a smart card.",          // 779
    "An attempted function is not valid for this connection.",               // 780
    "The encryption attempt failed because no valid certificate was found.", // 781
    "Network Address Translation (NAT) is currently installed as a routing protocol, "
    "and must be removed before enabling Internet Connection Sharing.", // 782
    "Internet Connection Sharing cannot be enabled. The LAN connection selected as the "
    "private network is either not present, or is disconnected from the network.", // 783
    "You cannot dial using this connection at logon time, because it is configured to "
    "use a user name different than the one on the smart card.", // 784
    "You cannot dial using this connection at logon time, because it is not configured "
    "to use a smart card.", // 785
    "The L2TP connection attempt failed because there is no valid machine certificate "
    "on your computer for security authentication.", // 786
    "The L2TP connection attempt failed because the security layer could not "
    "authenticate the remote computer.", // 787
    "The L2TP connection attempt failed because the security layer could not negotiate "
    "compatible parameters with the remote computer.", // 788
    "The L2TP connection attempt failed because the security layer encountered a "
    "processing error during initial negotiations with the remote computer.", // 789
    "The L2TP connection attempt failed because certificate validation on the remote "
    "computer failed.", // 790
    "The L2TP connection attempt failed because security policy for the connection was "
    "not found.",                                                                 // 791
    "The L2TP connection attempt failed because security negotiation timed out.", // 792
    "The L2TP connection attempt failed because an error occurred while negotiating "
    "security.",                                                      // 793
    "The Framed Protocol RADIUS attribute for this user is not PPP.", // 794
    "The Tunnel Type RADIUS attribute for this user is not correct.", // 795
    "The Service Type RADIUS attribute for this user is neither Framed nor Callback "
    "Framed.", // 796
    "A connection to the remote computer could not be established because the modem "
    "was not found or was busy.", // 797
    "A certificate could not be found that can be used with this Extensible "
    "Authentication Protocol.", // 798
    "Internet Connection Sharing (ICS) cannot be enabled due to an IP address conflict "
    "on the network.", // 799
};

static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == RasError::Last - RasError::First + 1,
              "one text for every code from 600 to 799");

} // namespace

QString rasErrorText(int error) {
    if (error < RasError::First || error > RasError::Last)
        return QString();
    return QString::fromLatin1(kTexts[error - RasError::First]);
}
